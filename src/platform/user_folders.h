// Folders of the user's account that the desktop tool keeps things in.
#pragma once

#include <string>

namespace platform {

// The folder for `program`'s state that should outlive a run (XDG base
// directories: $XDG_STATE_HOME, else ~/.local/state), ended by the path
// separator; empty when neither it nor a home folder is known. Relative
// settings are ignored, as the XDG rules ask.
std::string UserStateFolder(const std::string& program);

}  // namespace platform
