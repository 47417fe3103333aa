#pragma once

namespace shell {

// Start-up of the desktop tool on the installed windowing backend: state,
// caption font, the window with its controls, "ready..." in the log.
void StartUp();

// Waits for events and runs the button actions until the close request;
// then frees the pictures and fonts. Returns the exit code (0).
int RunEventLoop();

}  // namespace shell
