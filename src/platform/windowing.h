// The windowing layer: the one window with numbered controls, the dialogs
// and the event wait. The actions call the free functions below; a backend
// (FLTK for the desktop, scripted for tests and the command line) does the
// work. Without a backend every operation does nothing and every dialog
// answers the empty text.
//
// Texts are Windows-1252, except the paths that file dialogs take and give,
// which are in the file system's encoding.
#pragma once

#include <string>

#include "platform/surface.h"

namespace platform {

inline constexpr int kControlEvent = 13100;
inline constexpr int kCloseEvent = 16;
// The mouse pointer moved over the picture control, or left it; the point
// comes with EventPoint().
inline constexpr int kPointerEvent = 512;

// A point within a control; x and y are -1 when the pointer is not over it.
struct Point {
    int x = -1, y = -1;
};

// A key with its modifiers, as the tool binds it to a button or to the close
// request. `key` is a lower-case letter.
struct Shortcut {
    bool ctrl = false;
    bool alt = false;
    char key = 0;
};

// A dialog as a backend was asked to show it (kept by the test backends).
struct DialogCall {
    std::string kind;  // "open", "save" or "input"
    std::string title;
    std::string defaultText;  // default path, or the input dialog's default
    std::string filterOrPrompt;
};

class Windowing {
  public:
    virtual ~Windowing() = default;

    // Window and controls (start-up of the desktop tool).
    virtual void OpenWindow(int /*number*/, int /*left*/, int /*top*/, int /*width*/,
                            int /*height*/, const std::string& /*title*/) {}
    virtual void CreateInfoBox(int /*number*/, int /*left*/, int /*top*/, int /*width*/,
                               int /*height*/) {}
    virtual void CreateStaticText(int /*number*/, int /*left*/, int /*top*/, int /*width*/,
                                  int /*height*/, const std::string& /*text*/) {}
    virtual void CreatePictureControl(int /*number*/, int /*left*/, int /*top*/, int /*width*/,
                                      int /*height*/) {}
    virtual void CreateButton(int /*number*/, int /*left*/, int /*top*/, int /*width*/,
                              int /*height*/, const std::string& /*caption*/) {}
    // Binds `key` to a button (as a click) or, for the window's own number,
    // to the close request; `tooltip` is shown over the button.
    virtual void SetShortcut(int /*control*/, Shortcut /*key*/, const std::string& /*tooltip*/) {}

    // Control content. `AppendRaw` inserts text at the end of a text box as it
    // stands; the line rule of the information box lives above the backends.
    virtual void ClearText(int control) = 0;
    virtual void AppendRaw(int control, const std::string& text) = 0;
    // Each line as AppendInfoLine adds it, for a backend that keeps the lines
    // apart (a line's own text may hold a line break).
    virtual void LineAdded(int /*control*/, const std::string& /*text*/) {}
    virtual void SetText(int control, const std::string& text) = 0;
    virtual void ShowPicture(int control, PictureRef picture) = 0;

    virtual std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                                       const std::string& filter, int filterIndex) = 0;
    virtual std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                                       const std::string& filter, int filterIndex) = 0;
    virtual std::string InputDialog(const std::string& title, const std::string& prompt,
                                    const std::string& defaultText) = 0;

    // Events: blocks for the next one; kControlEvent comes with EventControl().
    virtual int WaitEvent() { return kCloseEvent; }
    virtual int EventControl() { return 0; }
    virtual Point EventPoint() { return {}; }
};

// Installs the backend the operations below use (nullptr: none).
void UseWindowing(Windowing* backend);
Windowing* CurrentWindowing();

void ClearInfoList(int control);
// Adds `text` as the new last line. Lines are separated by one "\n"; an
// empty first line is held back until the next line comes.
void AppendInfoLine(int control, const std::string& text);
void SetText(int control, const std::string& text);
void ShowPicture(int control, PictureRef picture);

std::string OpenFileDialog(const std::string& title, const std::string& defaultPath,
                           const std::string& filter, int filterIndex);
std::string SaveFileDialog(const std::string& title, const std::string& defaultPath,
                           const std::string& filter, int filterIndex);
std::string InputDialog(const std::string& title, const std::string& prompt,
                        const std::string& defaultText);
int WaitEvent();
int EventControl();
Point EventPoint();

}  // namespace platform
