// The keys of the window: one table for the window itself, its tooltips
// and the help text, so that none of them can tell another key.
#pragma once

#include <array>

#include "app/window_layout.h"
#include "platform/windowing.h"

namespace shell {

struct KeyBinding {
    int control;  // a button, or app::kMainWindow for the close request
    platform::Shortcut key;
    const char* keyName;
    const char* what;  // the tooltip, less its key
};

inline constexpr std::array<KeyBinding, 7> kKeyBindings{{
    {app::kLoadButton, {true, false, 'o'}, "Ctrl+O", "Load a track"},
    {app::kWaterButton, {false, true, 'w'}, "Alt+W", "Draw the water"},
    {app::kObjectsButton, {false, true, 'o'}, "Alt+O", "Draw the objects"},
    {app::kGhostButton, {false, true, 'g'}, "Alt+G", "Draw the ghost lap"},
    {app::kSaveButton, {true, false, 's'}, "Ctrl+S", "Save the picture as JPEG"},
    {app::kCarButton, {false, true, 'c'}, "Alt+C", "Save a stored car"},
    {app::kMainWindow, {true, false, 'q'}, "Ctrl+Q", "Close the window"},
}};

}  // namespace shell
