#include "window_probe.h"

#include <FL/Fl.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "platform/fltk/fltk_windowing_impl.h"

using platform::PictureRef;
using platform::Shortcut;
using raster::Colour;
using raster::RgbColour;
using Impl = platform::FltkWindowing::Impl;

namespace {

Fl_Window* Topmost(const Impl& impl) {
    if (Fl::modal()) return Fl::modal();
    return impl.window.get();
}

// Reads a window property of 32-bit items (as Xlib hands them: longs).
std::vector<long> LongProperty(Window window, const char* name) {
    std::vector<long> values;
    const Atom property = XInternAtom(fl_display, name, False);
    long offset = 0;
    for (;;) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(fl_display, window, property, offset, 65536, False, AnyPropertyType,
                               &type, &format, &count, &after, &data) != Success)
            break;
        if (data && format == 32) {
            const long* items = reinterpret_cast<const long*>(data);
            values.insert(values.end(), items, items + count);
            offset += static_cast<long>(count);
        }
        if (data) XFree(data);
        if (format != 32 || after == 0) break;
    }
    return values;
}

}  // namespace

WindowProbe::~WindowProbe() {
    Fl::remove_timeout(DriverTick, this);
}

void WindowProbe::DriverTick(void* data) {
    auto* probe = static_cast<WindowProbe*>(data);
    const Fl_Window* dialog = Fl::modal();
    if (!dialog || !dialog->visible() || !Fl::focus()) {
        Fl::repeat_timeout(0.02, DriverTick, data);
        return;
    }
    auto driver = std::move(probe->driver_);
    probe->driver_ = nullptr;
    if (driver) driver();
}

template <typename Run>
std::string WindowProbe::RunDialog(Run run) {
    if (driver_) Fl::add_timeout(0.02, DriverTick, this);
    std::string answer = run();
    Fl::remove_timeout(DriverTick, this);
    return answer;
}

std::string WindowProbe::OpenFileDialog(const std::string& title, const std::string& defaultPath,
                                        const std::string& filter, int filterIndex) {
    const auto real = [&] {
        return FltkWindowing::OpenFileDialog(title, defaultPath, filter, filterIndex);
    };
    // A pre-answered dialog (a dropped track) answers without opening.
    if (Internals().openAnswer) {
        if (scripted_) dialogs.push_back({"open", title, defaultPath, filter});
        return real();
    }
    if (scripted_) return script_.OpenFileDialog(title, defaultPath, filter, filterIndex);
    return RunDialog(real);
}

std::string WindowProbe::SaveFileDialog(const std::string& title, const std::string& defaultPath,
                                        const std::string& filter, int filterIndex) {
    if (scripted_) return script_.SaveFileDialog(title, defaultPath, filter, filterIndex);
    return RunDialog(
        [&] { return FltkWindowing::SaveFileDialog(title, defaultPath, filter, filterIndex); });
}

std::string WindowProbe::InputDialog(const std::string& title, const std::string& prompt,
                                     const std::string& defaultText) {
    if (scripted_) return script_.InputDialog(title, prompt, defaultText);
    return RunDialog([&] { return FltkWindowing::InputDialog(title, prompt, defaultText); });
}

std::optional<OpenDialogInfo> WindowProbe::CurrentDialog() const {
    const Fl_Window* dialog = Fl::modal();
    if (!dialog) return std::nullopt;
    OpenDialogInfo info;
    info.title = dialog->label() ? dialog->label() : "";
    info.x = dialog->x();
    info.y = dialog->y();
    info.width = dialog->w();
    info.height = dialog->h();
    if (const auto* input = dynamic_cast<const Fl_Input_*>(Fl::focus())) {
        info.inputHasFocus = true;
        info.focusedText = input->value();
    }
    return info;
}

bool WindowProbe::HasQueuedEvent() const {
    return !Internals().events.empty();
}

void WindowProbe::Flush() {
    for (int i = 0; i < 5; ++i) {
        Fl::check();
        if (fl_display) XSync(fl_display, False);
    }
    Fl::flush();
    if (fl_display) XSync(fl_display, False);
}

namespace {

void ClickIn(Fl_Window* window, int x, int y) {
    if (!window) return;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = window->x() + x;
    Fl::e_y_root = window->y() + y;
    Fl::e_keysym = FL_Button + 1;
    Fl::e_clicks = 0;
    Fl::e_is_click = 1;
    Fl::e_state = FL_BUTTON1;
    Fl::handle(FL_PUSH, window);
    Fl::e_state = 0;
    Fl::handle(FL_RELEASE, window);
}

}  // namespace

void WindowProbe::ClickAt(int x, int y) {
    ClickIn(Topmost(Internals()), x, y);
}

bool WindowProbe::ClickControl(int control) {
    const Impl::Control* c = Internals().Find(control);
    if (!c) return false;
    // Sent to the main window even while a dialog is open: FLTK must refuse it then.
    ClickIn(Internals().window.get(), c->widget->x() + c->widget->w() / 2,
            c->widget->y() + c->widget->h() / 2);
    return true;
}

namespace {

void SendKey(Fl_Window* window, int key, const std::string& text, int state) {
    if (!window) return;
    static std::string keyText;
    keyText = text;
    Fl::e_keysym = key;
    Fl::e_state = state;
    Fl::e_text = keyText.data();
    Fl::e_length = static_cast<int>(keyText.size());
    Fl::handle(FL_KEYBOARD, window);
    Fl::e_state = 0;
}

}  // namespace

void WindowProbe::PressTab(bool shift) {
    SendKey(Topmost(Internals()), FL_Tab, "\t", shift ? FL_SHIFT : 0);
}
void WindowProbe::PressEnter() {
    SendKey(Topmost(Internals()), FL_Enter, "\r", 0);
}
void WindowProbe::PressEscape() {
    SendKey(Topmost(Internals()), FL_Escape, "\033", 0);
}

void WindowProbe::TypeText(const std::string& utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const int length = std::max(1, fl_utf8len1(utf8[i]));
        const std::string character = utf8.substr(i, static_cast<std::size_t>(length));
        const unsigned char first = static_cast<unsigned char>(character[0]);
        SendKey(Topmost(Internals()), first < 0x80 ? first : 0, character, 0);
        i += static_cast<std::size_t>(length);
    }
}

void WindowProbe::SetFocusedInput(const std::string& utf8) {
    if (auto* input = dynamic_cast<Fl_Input_*>(Fl::focus())) {
        input->value(utf8.c_str());
        input->position(input->size());
    }
}

void WindowProbe::PressKey(Shortcut key) {
    const std::string text(1, key.ctrl ? static_cast<char>(key.key & 0x1F) : key.key);
    SendKey(Topmost(Internals()), key.key, text, (key.ctrl ? FL_CTRL : 0) | (key.alt ? FL_ALT : 0));
}

void WindowProbe::MovePointer(int x, int y) {
    Fl_Window* window = Internals().window.get();
    if (!window) return;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = window->x() + x;
    Fl::e_y_root = window->y() + y;
    Fl::e_state = 0;
    Fl::handle(FL_MOVE, window);
}

void WindowProbe::ParkPointer() {
    fl_open_display();
    const Window root = RootWindow(fl_display, fl_screen);
    XWarpPointer(fl_display, None, root, 0, 0, 0, 0, DisplayWidth(fl_display, fl_screen) - 1,
                 DisplayHeight(fl_display, fl_screen) - 1);
    XSync(fl_display, False);
}

void WindowProbe::RequestClose() {
    if (Internals().window) Fl::handle(FL_CLOSE, Internals().window.get());
}

bool WindowProbe::DropOnControl(int control, const std::string& uriList) {
    const Impl::Control* c = Internals().Find(control);
    Fl_Window* window = Internals().window.get();
    if (!c || !window) return false;
    Fl::e_x = c->widget->x() + c->widget->w() / 2;
    Fl::e_y = c->widget->y() + c->widget->h() / 2;
    Fl::e_x_root = window->x() + Fl::e_x;
    Fl::e_y_root = window->y() + Fl::e_y;
    Fl::e_state = 0;
    static std::string dropped;
    dropped = uriList;
    Fl::e_text = dropped.data();
    Fl::e_length = static_cast<int>(dropped.size());
    Fl::handle(FL_DND_ENTER, window);
    Fl::handle(FL_DND_DRAG, window);
    // As X11 delivers a drop: the widget that took FL_DND_RELEASE gets the
    // data as FL_PASTE.
    if (!Fl::handle(FL_DND_RELEASE, window)) return false;
    Fl_Widget* target = Fl::belowmouse();
    if (!target) return false;
    Fl::e_text = dropped.data();
    Fl::e_length = static_cast<int>(dropped.size());
    return target->handle(FL_PASTE) != 0;
}

std::string WindowProbe::WindowClass() const {
    if (!Internals().window || !Internals().window->shown()) return "";
    XClassHint hint{};
    std::string result;
    if (XGetClassHint(fl_display, fl_xid(Internals().window.get()), &hint)) {
        result = std::string(hint.res_name ? hint.res_name : "") + "/" +
                 (hint.res_class ? hint.res_class : "");
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
    }
    return result;
}

std::string WindowProbe::Tooltip(int control) const {
    const Impl::Control* c = Internals().Find(control);
    return c && c->widget->tooltip() ? c->widget->tooltip() : "";
}

std::vector<std::string> WindowProbe::ShownLines(int control) const {
    const Impl::Control* c = Internals().Find(control);
    if (!c || c->kind != platform::fltk::Kind::kStaticText || !Internals().window) return {};
    Internals().window->make_current();
    return static_cast<const platform::fltk::PlainText*>(c->widget)->ShownLines();
}

std::string WindowProbe::Title() const {
    if (!Internals().window || !Internals().window->shown()) return "";
    const Atom utf8 = XInternAtom(fl_display, "UTF8_STRING", False);
    const Atom name = XInternAtom(fl_display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(fl_display, fl_xid(Internals().window.get()), name, 0, 1024, False, utf8,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data) XFree(data);
    return title;
}

std::optional<ControlInfo> WindowProbe::Control(int control) const {
    const Impl::Control* c = Internals().Find(control);
    if (!c) return std::nullopt;
    const Fl_Widget* w = c->widget;
    ControlInfo info{w->x(), w->y(), w->w(), w->h(), ""};
    if (c->kind == platform::fltk::Kind::kButton && w->label()) info.caption = w->label();
    if (c->kind == platform::fltk::Kind::kStaticText)
        info.caption = static_cast<const platform::fltk::PlainText*>(w)->Text();
    return info;
}

ControlInfo WindowProbe::WindowGeometry() const {
    ControlInfo info;
    if (!Internals().window || !Internals().window->shown()) return info;
    // Where the X server has put the client area, not what FLTK was asked for.
    const Window xid = fl_xid(Internals().window.get());
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, xid, &attributes);
    Window child = 0;
    XTranslateCoordinates(fl_display, xid, RootWindow(fl_display, fl_screen), 0, 0, &info.x,
                          &info.y, &child);
    info.width = attributes.width;
    info.height = attributes.height;
    info.caption = Title();
    return info;
}

bool WindowProbe::FixedSize() const {
    if (!Internals().window || !Internals().window->shown()) return false;
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(fl_display, fl_xid(Internals().window.get()), &hints, &supplied))
        return false;
    return (hints.flags & PMinSize) && (hints.flags & PMaxSize) &&
           hints.min_width == hints.max_width && hints.min_height == hints.max_height &&
           hints.min_width == Internals().window->w() &&
           hints.min_height == Internals().window->h();
}

std::vector<int> WindowProbe::IconSizes() const {
    std::vector<int> sizes;
    if (!Internals().window || !Internals().window->shown()) return sizes;
    // _NET_WM_ICON: width, height, then width * height ARGB pixels, repeated.
    const std::vector<long> data = LongProperty(fl_xid(Internals().window.get()), "_NET_WM_ICON");
    for (std::size_t at = 0; at + 2 <= data.size();) {
        const long width = data[at], height = data[at + 1];
        if (width <= 0 || height <= 0 || at + 2 + width * height > data.size()) break;
        sizes.push_back(static_cast<int>(width));
        at += 2 + static_cast<std::size_t>(width * height);
    }
    return sizes;
}

int WindowProbe::FocusedControl() const {
    for (const auto& [id, control] : Internals().controls) {
        if (Fl::focus() == control.widget) return id;
    }
    return 0;
}

std::string WindowProbe::ControlText(int control) const {
    const Impl::Control* c = Internals().Find(control);
    if (!c) return "";
    switch (c->kind) {
        case platform::fltk::Kind::kInfoBox: {
            char* text = c->buffer->text();
            std::string result = text ? text : "";
            std::free(text);
            return result;
        }
        case platform::fltk::Kind::kStaticText:
            return static_cast<const platform::fltk::PlainText*>(c->widget)->Text();
        case platform::fltk::Kind::kButton:
            return c->widget->label() ? c->widget->label() : "";
        case platform::fltk::Kind::kPicture:
            return "";
    }
    return "";
}

PictureRef WindowProbe::ShownPicture(int control) const {
    const Impl::Control* c = Internals().Find(control);
    if (!c || c->kind != platform::fltk::Kind::kPicture) return nullptr;
    return static_cast<const platform::fltk::PictureBox*>(c->widget)->Shown();
}

std::vector<Colour> WindowProbe::ReadPixels(int x, int y, int width, int height) {
    std::vector<Colour> pixels;
    if (!Internals().window || !Internals().window->shown() || width <= 0 || height <= 0)
        return pixels;
    Flush();
    Internals().window->make_current();
    uchar* data = fl_read_image(nullptr, x, y, width, height);
    if (!data) return pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        pixels.push_back(RgbColour(data[3 * i], data[3 * i + 1], data[3 * i + 2]));
    }
    delete[] data;
    return pixels;
}
