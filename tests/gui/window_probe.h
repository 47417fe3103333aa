// The real window on the FLTK backend, with what the desktop tests need to
// drive it as a person would: clicks, keys, drops, the shown texts and
// pixels, and dialogs answered from a queue. Test-only: the product links
// none of it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fltk/fltk_windowing.h"
#include "platform/scripted_windowing.h"
#include "platform/surface.h"
#include "raster/colour.h"

struct ControlInfo {
    int x = 0, y = 0, width = 0, height = 0;  // within the window's client area
    std::string caption;                      // UTF-8
};

// A dialog as the user sees it, while it is open.
struct OpenDialogInfo {
    std::string title;  // UTF-8
    int x = 0, y = 0, width = 0, height = 0;
    std::string focusedText;  // the text of the input field that has the focus
    bool inputHasFocus = false;
};

class WindowProbe final : public platform::FltkWindowing {
  public:
    WindowProbe() = default;
    ~WindowProbe() override;

    std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string InputDialog(const std::string& title, const std::string& prompt,
                            const std::string& defaultText) override;

    // Dialogs answer from `answers` (an empty queue cancels) instead of
    // opening, and every call is recorded, as the windowless backend does.
    void ScriptDialogs(bool on) { scripted_ = on; }
    std::deque<std::string>& answers = script_.answers;
    std::vector<platform::DialogCall>& dialogs = script_.dialogs;
    // Called once while the next real dialog is open and shown.
    void DriveNextDialog(std::function<void()> driver) { driver_ = std::move(driver); }
    std::optional<OpenDialogInfo> CurrentDialog() const;

    bool HasQueuedEvent() const;
    // Lets FLTK handle what is pending and draws every damaged window.
    void Flush();

    // A left click at a point of the topmost window (a dialog while one is
    // open), or at the middle of a control of the main window; false when
    // the control does not exist.
    void ClickAt(int x, int y);
    bool ClickControl(int control);
    // Key presses, sent to the focused widget of the topmost window.
    void PressTab(bool shift);
    void PressEnter();
    void PressEscape();
    void TypeText(const std::string& utf8);
    // Replaces the text of the focused input field (dialogs).
    void SetFocusedInput(const std::string& utf8);
    // A key with modifiers, as the keyboard sends it to the topmost window.
    void PressKey(platform::Shortcut key);
    // The mouse pointer moved to a point of the main window's client area.
    void MovePointer(int x, int y);
    // Puts the real pointer in the screen's bottom-right corner, where no
    // window of the tool stands, so that only MovePointer moves it.
    static void ParkPointer();
    // What the window manager sends for the close box.
    void RequestClose();
    // A drag-and-drop of `uriList` (as a file manager sends it) onto a control.
    bool DropOnControl(int control, const std::string& uriList);

    std::string Title() const;
    // The window's WM_CLASS as "name/class".
    std::string WindowClass() const;
    std::string Tooltip(int control) const;  // UTF-8
    // The lines of a static text as drawn: the last ones that fit, each cut
    // with "…" to the control's width.
    std::vector<std::string> ShownLines(int control) const;
    std::optional<ControlInfo> Control(int control) const;
    // The window's place and size, and its size limits.
    ControlInfo WindowGeometry() const;
    bool FixedSize() const;
    // Sizes of the icons the window carries for the window manager.
    std::vector<int> IconSizes() const;
    int FocusedControl() const;                  // 0 when none of the controls has it
    std::string ControlText(int control) const;  // UTF-8 as shown
    platform::PictureRef ShownPicture(int control) const;
    // Pixels of the main window's client area as drawn on the screen.
    std::vector<raster::Colour> ReadPixels(int x, int y, int width, int height);

  private:
    static void DriverTick(void* data);
    // Runs a real dialog, with the test's driver once it is shown.
    template <typename Run>
    std::string RunDialog(Run run);

    platform::ScriptedWindowing script_;
    bool scripted_ = false;
    std::function<void()> driver_;
};
