// The desktop backend of the windowing layer, on FLTK 1.3. This header
// keeps FLTK out of its users: the front end and the tests see only the
// layer's own types.
//
// Besides the layer's operations it offers what the front end needs beyond
// them: a pre-answered open dialog for a track given on the command line or
// dropped on the window. What the tests need to drive the real window as a
// person would (clicks, keys, the shown texts and pixels) is theirs, in
// tests/gui/window_probe.h.
#pragma once

#include <memory>
#include <string>

#include "platform/desktop.h"

namespace platform {

// Opens the X display for FLTK; false when there is none. FLTK itself ends
// the process when it cannot open one, so this comes first.
bool OpenDisplay();

// Which file dialog Fl_Native_File_Chooser shows. Takes effect only before
// the first dialog is built; FLTK's own can be driven with xdotool.
enum class FileChooserKind { kSystem, kFltk };
void UseFileChooser(FileChooserKind kind);

class FltkWindowing : public DesktopWindowing {
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

    void PreAnswerOpenDialog(const std::string& path) override;
    void SetDropLoadButton(int loadButton) override;

    struct Impl;

  protected:
    // The widgets and queued events, for the tests' probe.
    Impl& Internals() const { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

std::unique_ptr<FltkWindowing> MakeFltkWindowing();

}  // namespace platform
