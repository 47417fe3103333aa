// The command line of the desktop tool: `track-analyse [TRACK.trk]`, or
// --help and --version.
#pragma once

#include <string>
#include <vector>

namespace shell {

struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kUsageError };
    Action action = Action::kRun;
    std::string track;  // empty: start without a track
    std::string error;  // for kUsageError
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What --help prints, with the keys of the window's buttons; the manual
// page is made from it.
std::string HelpText();
std::string VersionText();
inline constexpr const char* kUsageLine = "Usage: track-analyse [OPTION]... [TRACK.trk]";

}  // namespace shell
