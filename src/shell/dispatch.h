#pragma once

namespace app {

// Button ids of the main window, which are also its control numbers.
inline constexpr int kLoadButton = 11;
inline constexpr int kWaterButton = 12;
inline constexpr int kSaveButton = 13;
inline constexpr int kObjectsButton = 14;
inline constexpr int kGhostButton = 15;
inline constexpr int kCarButton = 16;

// The line under the buttons that tells what lies under the mouse pointer.
inline constexpr int kReadOutControl = 9;

// Runs the actions of the button with this id; any other id does nothing.
void RunButton(int id);

// "load": load, parse, and unless the parse refused the file, the picture.
// A file that could not be read is neither parsed nor drawn.
void LoadAndShowTrack();

// Handles one event of the window as the event loop takes it: a button's
// action, or the read-out for a pointer move. True for the close request.
bool HandleEvent(int code);

}  // namespace app
