// The window as the tool lays it out: its controls' numbers (which are also
// their ids in every event), kinds, places and texts, and the numbers of
// the drawing surface's picture and font. The one place that says them.
#pragma once

#include <array>

namespace app {

inline constexpr int kMainWindow = 0;
inline constexpr const char* kWindowTitle = "Velocitra Track Analyse";

inline constexpr int kPictureControl = 1;
inline constexpr int kInfoListControl = 2;
inline constexpr int kStatusLogControl = 8;
// The line under the buttons that tells what lies under the mouse pointer.
inline constexpr int kReadOutControl = 9;
inline constexpr int kLoadButton = 11;
inline constexpr int kWaterButton = 12;
inline constexpr int kSaveButton = 13;
inline constexpr int kObjectsButton = 14;
inline constexpr int kGhostButton = 15;
inline constexpr int kCarButton = 16;

// Numbers in the drawing surface's stores.
inline constexpr int kTrackPicture = 1;
inline constexpr int kCaptionFont = 1;

struct Box {
    int left, top, width, height;
};

// The main window: its frame's corner and its client area's size.
inline constexpr Box kWindowBox = {10, 10, 1000, 720};

struct ControlLayout {
    enum class Kind { kInfoBox, kStaticText, kPicture, kButton };
    int number;
    Kind kind;
    Box box;
    const char* text;  // a button's caption, a static text's first text
};

// In the order of creation, which is the order Tab moves the focus in. The
// ids are not in screen order: "save" (13) stands between "Ghost" and "Car".
inline constexpr std::array<ControlLayout, 10> kControls = {{
    {kInfoListControl, ControlLayout::Kind::kInfoBox, {10, 10, 400, 600}, ""},
    {kStatusLogControl, ControlLayout::Kind::kStaticText, {10, 620, 400, 80}, ""},
    {kPictureControl, ControlLayout::Kind::kPicture, {450, 10, 512, 560}, ""},
    {kLoadButton, ControlLayout::Kind::kButton, {450, 620, 50, 24}, "load"},
    {kWaterButton, ControlLayout::Kind::kButton, {510, 620, 50, 24}, "water"},
    {kObjectsButton, ControlLayout::Kind::kButton, {570, 620, 50, 24}, "Objects"},
    {kGhostButton, ControlLayout::Kind::kButton, {630, 620, 50, 24}, "Ghost"},
    {kSaveButton, ControlLayout::Kind::kButton, {690, 620, 50, 24}, "save"},
    {kCarButton, ControlLayout::Kind::kButton, {780, 620, 50, 24}, "Car"},
    // Under the buttons, in the window's free corner: three lines, the last
    // one for the ghost frame under the pointer.
    {kReadOutControl, ControlLayout::Kind::kStaticText, {450, 652, 540, 56}, ""},
}};

}  // namespace app
