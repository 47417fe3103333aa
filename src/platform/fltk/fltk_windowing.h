// The desktop backend of the windowing layer, on FLTK 1.3. This header
// keeps FLTK out of its users: the front end and the tests see only the
// layer's own types.
//
// Besides the layer's operations it offers what the front end needs beyond
// them (a pre-answered open dialog for a track given on the command line or
// dropped on the window) and what the tests need to drive the real window
// as a person would (clicks, keys, the shown texts and pixels).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/windowing.h"

namespace platform {

// Opens the X display for FLTK; false when there is none. FLTK itself ends
// the process when it cannot open one, so this comes first.
bool OpenDisplay();

// Which file dialog Fl_Native_File_Chooser shows. Takes effect only before
// the first dialog is built; FLTK's own can be driven with xdotool.
enum class FileChooserKind { kSystem, kFltk };
void UseFileChooser(FileChooserKind kind);

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

class FltkWindowing final : public Windowing {
  public:
    FltkWindowing();
    ~FltkWindowing() override;
    FltkWindowing(const FltkWindowing&) = delete;
    FltkWindowing& operator=(const FltkWindowing&) = delete;

    void OpenWindow(int number, int left, int top, int width, int height,
                    const std::string& title) override;
    void CreateInfoBox(int number, int left, int top, int width, int height) override;
    void CreateStaticText(int number, int left, int top, int width, int height,
                          const std::string& text) override;
    void CreatePictureControl(int number, int left, int top, int width, int height) override;
    void CreateButton(int number, int left, int top, int width, int height,
                      const std::string& caption) override;
    void SetShortcut(int control, Shortcut key, const std::string& tooltip) override;

    void ClearText(int control) override;
    void AppendRaw(int control, const std::string& text) override;
    void SetText(int control, const std::string& text) override;
    void ShowPicture(int control, PictureRef picture) override;

    std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                               const std::string& filter, int filterIndex) override;
    std::string InputDialog(const std::string& title, const std::string& prompt,
                            const std::string& defaultText) override;

    int WaitEvent() override;
    int EventControl() override;
    Point EventPoint() override;

    // The next open-file dialog answers `path` without opening. A dropped
    // track sets this itself and queues a press of `loadButton`.
    void PreAnswerOpenDialog(const std::string& path);
    void SetDropLoadButton(int loadButton);

    // --- Driving the window (tests) ---

    // Dialogs answer from `answers` (an empty queue cancels) instead of
    // opening, and every call is recorded.
    void ScriptDialogs(bool on);
    std::deque<std::string> answers;
    std::vector<DialogCall> dialogs;
    // Called once while the next real dialog is open and shown.
    void DriveNextDialog(std::function<void()> driver);
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
    void PressKey(Shortcut key);
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
    PictureRef ShownPicture(int control) const;
    // Pixels of the main window's client area as drawn on the screen.
    std::vector<Colour> ReadPixels(int x, int y, int width, int height);

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

std::unique_ptr<FltkWindowing> MakeFltkWindowing();

}  // namespace platform
