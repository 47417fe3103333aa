// The open dialog starts where the user's tracks are: in the folder of the
// last track read, remembered across runs of the desktop tool.
#pragma once

namespace app {

// Desktop start-up: takes the remembered folder (when it still exists) as
// the folder of the first open dialog, and keeps later ones in the user's
// state folder.
void RecallTrackFolder();

// After a load: a track that was read makes its folder the remembered one.
void RememberTrackFolder();

}  // namespace app
