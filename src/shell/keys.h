// The keys of the window: one table for the window itself, its tooltips
// and the help text, so that none of them can tell another key.
#pragma once

#include <array>

#include "platform/windowing.h"
#include "shell/dispatch.h"
#include "shell/startup.h"

namespace app {

struct KeyBinding {
    int control;  // a button, or kMainWindow for the close request
    platform::Shortcut key;
    const char* keyName;
    const char* what;  // the tooltip, less its key
};

inline constexpr std::array<KeyBinding, 7> kKeyBindings{{
    {kLoadButton, {true, false, 'o'}, "Ctrl+O", "Load a track"},
    {kWaterButton, {false, true, 'w'}, "Alt+W", "Draw the water"},
    {kObjectsButton, {false, true, 'o'}, "Alt+O", "Draw the objects"},
    {kGhostButton, {false, true, 'g'}, "Alt+G", "Draw the ghost lap"},
    {kSaveButton, {true, false, 's'}, "Ctrl+S", "Save the picture as JPEG"},
    {kCarButton, {false, true, 'c'}, "Alt+C", "Save a stored car"},
    {kMainWindow, {true, false, 'q'}, "Ctrl+Q", "Close the window"},
}};

}  // namespace app
