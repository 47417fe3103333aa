// The desktop backend of the windowing layer on Win32. This header keeps
// windows.h's types out of its users but for the window handle, which the
// tests use to look at the window as it stands.
#pragma once

#include <windows.h>
// winuser.h names a desktop function of its own so; ours is meant here.
#undef OpenDesktop

#include <memory>
#include <string>

#include "platform/desktop.h"

namespace platform {

class Win32Windowing : public DesktopWindowing {
  public:
    Win32Windowing();
    ~Win32Windowing() override;
    Win32Windowing(const Win32Windowing&) = delete;
    Win32Windowing& operator=(const Win32Windowing&) = delete;

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

    HWND WindowHandle() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
