#pragma once

namespace shell {

// Runs the actions of the button with this id; any other id does nothing.
void RunButton(int id);

// "load": load, parse, and unless the parse refused the file, the picture.
// A file that could not be read is neither parsed nor drawn.
void LoadAndShowTrack();

// Handles one event of the window as the event loop takes it: a button's
// action, or the read-out for a pointer move. True for the close request.
bool HandleEvent(int code);

}  // namespace shell
