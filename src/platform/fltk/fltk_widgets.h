// The widgets of the desktop window that FLTK does not have as such.
// Private to the FLTK backend.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Widget.H>

#include <functional>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform::fltk {

inline constexpr int kControlFontSize = 12;

// Called with the text of a drop (a list of paths or URIs).
using DropHandler = std::function<void(const std::string&)>;

// Text drawn as it is: no '@' symbols, no '&' shortcuts, which FLTK labels
// would make of a track's names. Wraps at word boundaries when asked to;
// otherwise every line stays one line, cut with "…" when too wide, and the
// last lines are the ones kept when not all fit: a log's newest line shows.
class PlainText : public Fl_Widget {
  public:
    PlainText(int x, int y, int w, int h, bool wrap);
    void Text(std::string utf8);
    const std::string& Text() const { return text_; }
    // The lines as drawn, without wrapping (needs the display's fonts).
    std::vector<std::string> ShownLines() const;
    DropHandler onDrop;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    // The label size, or a smaller one when `lines` lines would not fit.
    int FontSize(int lines) const;

    std::string text_;
    bool wrap_;
};

// Shows a picture of the drawing surface by reference: every draw reads its
// current pixels, so drawing on it and showing it again updates the control.
// Reports the pointer's moves over it (x, y within it; -1, -1 on leaving).
class PictureBox : public Fl_Widget {
  public:
    PictureBox(int x, int y, int w, int h);
    void Show(PictureRef picture);
    PictureRef Shown() const { return picture_; }
    DropHandler onDrop;
    std::function<void(int, int)> onPointer;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    PictureRef picture_ = nullptr;
};

// The information box: an editor in which Tab moves the focus on, and on
// which a dropped file is handed to `onDrop` instead of inserted as text.
class InfoEditor : public Fl_Text_Editor {
  public:
    InfoEditor(int x, int y, int w, int h);
    DropHandler onDrop;

  protected:
    int handle(int event) override;

  private:
    bool dropping_ = false;
};

// The main window: takes the close request's key before its controls see it.
class MainWindow : public Fl_Double_Window {
  public:
    MainWindow(int x, int y, int w, int h) : Fl_Double_Window(x, y, w, h) {}
    int closeKey = 0;  // an FLTK shortcut value; 0 for none
    std::function<void()> onCloseKey;

  protected:
    int handle(int event) override;
};

// Handles the drag-and-drop events for a widget that takes drops; returns
// whether the event was one of them.
bool HandleDrop(int event, const DropHandler& onDrop, int& result);

}  // namespace platform::fltk
