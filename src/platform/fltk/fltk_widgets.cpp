#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/fltk/fltk_text.h"

namespace platform::fltk {
namespace {

// The surface frees and remakes pictures on its own; a control must not
// draw a picture that is gone. The tool has a handful of picture numbers.
const raster::Picture* LivePicture(PictureRef picture) {
    if (!picture) return nullptr;
    for (int number = 0; number <= 16; ++number) {
        if (PictureHandle(number) == picture) return picture;
    }
    return nullptr;
}

void DrawPictureLine(void* data, int x, int y, int w, uchar* out) {
    const auto* picture = static_cast<const raster::Picture*>(data);
    const raster::Colour* in = &picture->pixels[static_cast<std::size_t>(y) * picture->width + x];
    for (std::ptrdiff_t i = 0; i < w; ++i) {
        out[3 * i] = static_cast<uchar>(raster::RedOf(in[i]));
        out[3 * i + 1] = static_cast<uchar>(raster::GreenOf(in[i]));
        out[3 * i + 2] = static_cast<uchar>(raster::BlueOf(in[i]));
    }
}

}  // namespace

bool HandleDrop(int event, const DropHandler& onDrop, int& result) {
    switch (event) {
        case FL_DND_ENTER:
        case FL_DND_DRAG:
        case FL_DND_RELEASE:
        case FL_DND_LEAVE:
            result = onDrop ? 1 : 0;
            return true;
        case FL_PASTE:
            if (onDrop && Fl::event_text())
                onDrop(std::string(Fl::event_text(), Fl::event_length()));
            result = 1;
            return true;
        default:
            return false;
    }
}

PlainText::PlainText(int x, int y, int w, int h, bool wrap) : Fl_Widget(x, y, w, h), wrap_(wrap) {
    box(FL_FLAT_BOX);
    labelsize(kControlFontSize);
}

void PlainText::Text(std::string utf8) {
    text_ = std::move(utf8);
    redraw();
}

int PlainText::FontSize(int lines) const {
    int size = labelsize();
    while (size > 8 && lines * fl_height(labelfont(), size) > h()) --size;
    return size;
}

std::vector<std::string> PlainText::ShownLines() const {
    std::vector<std::string> lines = TextLines(text_);
    fl_font(labelfont(), FontSize(static_cast<int>(lines.size())));
    const int fit = std::max(1, h() / std::max(1, fl_height()));
    if (static_cast<int>(lines.size()) > fit) lines.erase(lines.begin(), lines.end() - fit);
    const auto measure = [](std::string_view text) {
        return fl_width(text.data(), static_cast<int>(text.size()));
    };
    for (std::string& line : lines) line = CutToWidth(line, w() - 2, measure);
    return lines;
}

void PlainText::draw() {
    draw_box();
    fl_push_clip(x(), y(), w(), h());
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    if (wrap_) {
        fl_font(labelfont(), labelsize());
        fl_draw(text_.c_str(), x(), y(), w(), h(),
                FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP, nullptr, 0);
    } else {
        const std::vector<std::string> lines = ShownLines();  // also sets the font
        int baseline = y() + fl_height() - fl_descent();
        for (const std::string& line : lines) {
            fl_draw(line.c_str(), static_cast<int>(line.size()), x() + 1, baseline);
            baseline += fl_height();
        }
    }
    fl_pop_clip();
}

int PlainText::handle(int event) {
    int result = 0;
    if (HandleDrop(event, onDrop, result)) return result;
    return Fl_Widget::handle(event);
}

PictureBox::PictureBox(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {
    box(FL_FLAT_BOX);
}

void PictureBox::Show(PictureRef picture) {
    picture_ = picture;
    redraw();
}

void PictureBox::draw() {
    const raster::Picture* picture = LivePicture(picture_);
    int shownW = 0;
    int shownH = 0;
    if (picture && picture->width > 0 && picture->height > 0 &&
        picture->pixels.size() >= static_cast<std::size_t>(picture->width) * picture->height) {
        shownW = std::min(picture->width, w());
        shownH = std::min(picture->height, h());
    }
    fl_push_clip(x(), y(), w(), h());
    fl_color(color());
    if (shownW < w()) fl_rectf(x() + shownW, y(), w() - shownW, h());
    if (shownH < h()) fl_rectf(x(), y() + shownH, shownW, h() - shownH);
    // Drawn at 1:1 from the picture's own rows; no copy is kept.
    if (shownW > 0)
        fl_draw_image(DrawPictureLine, const_cast<raster::Picture*>(picture), x(), y(), shownW,
                      shownH, 3);
    fl_pop_clip();
}

int PictureBox::handle(int event) {
    int result = 0;
    if (HandleDrop(event, onDrop, result)) return result;
    switch (event) {
        case FL_PUSH:
            return 1;
        case FL_RELEASE:
            if (Fl::event_inside(this)) do_callback();
            return 1;
        case FL_ENTER:
        case FL_MOVE:
            if (onPointer) onPointer(Fl::event_x() - x(), Fl::event_y() - y());
            return 1;
        case FL_LEAVE:
            if (onPointer) onPointer(-1, -1);
            return 1;
        default:
            return Fl_Widget::handle(event);
    }
}

int MainWindow::handle(int event) {
    if (event == FL_SHORTCUT && closeKey != 0 && onCloseKey && Fl::test_shortcut(closeKey)) {
        onCloseKey();
        return 1;
    }
    return Fl_Double_Window::handle(event);
}

InfoEditor::InfoEditor(int x, int y, int w, int h) : Fl_Text_Editor(x, y, w, h) {}

int InfoEditor::handle(int event) {
    // Tab and Shift+Tab go on to the window's focus navigation.
    if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab &&
        !Fl::event_state(FL_CTRL | FL_ALT | FL_META))
        return 0;
    // A drop arrives as FL_PASTE after FL_DND_RELEASE. A dropped track loads;
    // nothing dropped from elsewhere becomes text of the box (a picture's
    // URI in the listing is no use). Moving text within the box, and any
    // other paste, is the editor's own business.
    if (event == FL_DND_RELEASE) dropping_ = true;
    if (event == FL_DND_LEAVE) dropping_ = false;
    if (event == FL_PASTE && dropping_) {
        dropping_ = false;
        if (dragType == DRAG_START_DND) return Fl_Text_Editor::handle(event);
        if (onDrop && Fl::event_text()) onDrop(std::string(Fl::event_text(), Fl::event_length()));
        return 1;
    }
    return Fl_Text_Editor::handle(event);
}

}  // namespace platform::fltk
