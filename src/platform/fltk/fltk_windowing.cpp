#include "platform/fltk/fltk_windowing.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "platform/encoding.h"
#include "platform/fltk/app_icon.h"
#include "platform/fltk/fltk_dialogs.h"
#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_widgets.h"

namespace platform {

bool OpenDisplay() {
    // FLTK takes over this very connection: closing a probe connection and
    // opening another lets a server without other clients (Xvfb) reset in
    // between, and FLTK's own open then fails.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    fl_open_display(display);
    return true;
}

void UseFileChooser(FileChooserKind kind) {
    Fl::option(Fl::OPTION_FNFC_USES_GTK, kind == FileChooserKind::kSystem);
}

namespace {

struct Event {
    int code = 0;
    int control = 0;
    std::optional<std::string> openAnswer;  // a dropped track
    Point point;                            // pointer events
};

// The X class of the window, which docks and task bars match with the
// desktop entry's StartupWMClass.
constexpr const char* kWindowClass = "track-analyse";

int FltkShortcut(Shortcut key) {
    if (key.key == 0) return 0;
    return (key.ctrl ? FL_CTRL : 0) + (key.alt ? FL_ALT : 0) + key.key;
}

enum class Kind { kInfoBox, kStaticText, kPicture, kButton };

constexpr int kIconSizes[] = {16, 32, 48};

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

struct FltkWindowing::Impl {
    struct Control {
        Impl* owner = nullptr;
        int id = 0;
        Kind kind = Kind::kButton;
        Fl_Widget* widget = nullptr;
        std::unique_ptr<Fl_Text_Buffer> buffer;  // information box only
    };

    // Declared before the window, so that they outlive the widgets using them.
    std::vector<std::vector<std::uint8_t>> iconPixels;
    std::vector<std::unique_ptr<Fl_RGB_Image>> icons;
    std::map<int, Control> controls;  // map nodes stay put: callbacks keep pointers
    std::unique_ptr<fltk::MainWindow> window;

    std::deque<Event> events;
    int eventControl = 0;
    Point eventPoint;
    int windowNumber = 0;
    std::optional<std::string> openAnswer;
    int dropLoadButton = 0;
    bool scripted = false;
    std::function<void()> driver;
    FltkWindowing* self = nullptr;

    Control* Find(int id) {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }
    const Control* Find(int id) const {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }

    Control& Add(int id, Kind kind, Fl_Widget* widget) {
        // A second control of the same number replaces the first.
        if (Control* old = Find(id)) {
            window->remove(old->widget);
            delete old->widget;
            controls.erase(id);
        }
        Control& control = controls[id];
        control.owner = this;
        control.id = id;
        control.kind = kind;
        control.widget = widget;
        widget->callback(OnControl, &control);
        window->add(widget);
        widget->redraw();
        return control;
    }

    static void OnControl(Fl_Widget*, void* data) {
        const auto* control = static_cast<Control*>(data);
        control->owner->events.push_back({kControlEvent, control->id, std::nullopt, {}});
    }

    // The window manager's close request; the window stays until shut-down.
    // Escape, which FLTK also reports here, is no close request.
    static void OnWindow(Fl_Widget*, void* data) {
        if (Fl::event() != FL_CLOSE) return;
        static_cast<Impl*>(data)->events.push_back({kCloseEvent, 0, std::nullopt, {}});
    }

    // Only the latest position matters: a waiting move is replaced, so a
    // slow action never leaves a backlog of read-outs behind it.
    void OnPointer(int x, int y) {
        if (!events.empty() && events.back().code == kPointerEvent) events.pop_back();
        events.push_back({kPointerEvent, 0, std::nullopt, Point{x, y}});
    }

    void OnDrop(const std::string& list) {
        if (dropLoadButton == 0) return;
        if (auto path = fltk::DroppedTrackPath(list)) {
            events.push_back({kControlEvent, dropLoadButton, std::move(path), {}});
        }
    }

    fltk::DropHandler DropHandler() {
        return [this](const std::string& list) { OnDrop(list); };
    }

    std::string Scripted(const char* kind, const std::string& title, const std::string& text,
                         const std::string& other) {
        self->dialogs.push_back({kind, title, text, other});
        if (self->answers.empty()) return "";
        std::string answer = std::move(self->answers.front());
        self->answers.pop_front();
        return answer;
    }

    static void DriverTick(void* data) {
        auto* impl = static_cast<Impl*>(data);
        const Fl_Window* dialog = Fl::modal();
        if (!dialog || !dialog->visible() || !Fl::focus()) {
            Fl::repeat_timeout(0.02, DriverTick, data);
            return;
        }
        auto driver = std::move(impl->driver);
        impl->driver = nullptr;
        if (driver) driver();
    }

    // Runs a real dialog, with the test's driver once it is shown.
    template <typename Run>
    std::string RunDialog(Run run) {
        if (driver) Fl::add_timeout(0.02, DriverTick, this);
        std::string answer = run();
        Fl::remove_timeout(DriverTick, this);
        return answer;
    }

    Fl_Window* Topmost() const {
        if (Fl::modal()) return Fl::modal();
        return window.get();
    }
};

FltkWindowing::FltkWindowing() : impl_(std::make_unique<Impl>()) {
    impl_->self = this;
}

FltkWindowing::~FltkWindowing() {
    if (impl_->window) impl_->window->hide();
    impl_->window.reset();
    Fl::remove_timeout(Impl::DriverTick, impl_.get());
}

std::unique_ptr<FltkWindowing> MakeFltkWindowing() {
    return std::make_unique<FltkWindowing>();
}

void FltkWindowing::OpenWindow(int number, int left, int top, int width, int height,
                               const std::string& title) {
    Fl_Group* const outer = Fl_Group::current();
    Fl_Group::current(nullptr);
    impl_->controls.clear();
    impl_->windowNumber = number;
    impl_->window = std::make_unique<fltk::MainWindow>(left, top, width, height);
    impl_->window->end();
    Fl_Group::current(outer);

    fltk::MainWindow& window = *impl_->window;
    window.xclass(kWindowClass);
    window.onCloseKey = [impl = impl_.get()] {
        impl->events.push_back({kCloseEvent, 0, std::nullopt, {}});
    };
    window.copy_label(Cp1252ToUtf8(title).c_str());
    // Fixed size: the window managers then offer neither sizing nor maximise.
    window.size_range(width, height, width, height);
    window.callback(Impl::OnWindow, impl_.get());

    impl_->icons.clear();
    impl_->iconPixels.clear();
    std::vector<const Fl_RGB_Image*> icons;
    for (int size : kIconSizes) {
        impl_->iconPixels.push_back(fltk::RenderAppIcon(size));
        impl_->icons.push_back(
            std::make_unique<Fl_RGB_Image>(impl_->iconPixels.back().data(), size, size, 4));
        icons.push_back(impl_->icons.back().get());
    }
    window.icons(icons.data(), static_cast<int>(icons.size()));
    Fl::scheme("gtk+");
    window.show();
    // FLTK capitalises the class part of WM_CLASS; the desktop entry's
    // StartupWMClass names the program as it is spelt.
    XClassHint hint{};
    std::string name = kWindowClass;
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(fl_display, fl_xid(&window), &hint);
    // FLTK moves a new window down to y >= 20, for a title bar it assumes,
    // without telling; the window must stand where it was asked to.
    XMoveWindow(fl_display, fl_xid(&window), left, top);
}

void FltkWindowing::CreateInfoBox(int number, int left, int top, int width, int height) {
    if (!impl_->window) return;
    auto* editor = new fltk::InfoEditor(left, top, width, height);
    Impl::Control& control = impl_->Add(number, Kind::kInfoBox, editor);
    control.buffer = std::make_unique<Fl_Text_Buffer>();
    editor->buffer(control.buffer.get());
    editor->box(FL_DOWN_BOX);
    editor->textsize(fltk::kControlFontSize);
    editor->scrollbar_align(FL_ALIGN_BOTTOM_RIGHT);
    editor->when(FL_WHEN_CHANGED);
    editor->onDrop = impl_->DropHandler();
}

void FltkWindowing::CreateStaticText(int number, int left, int top, int width, int height,
                                     const std::string& text) {
    if (!impl_->window) return;
    auto* label = new fltk::PlainText(left, top, width, height, false);
    label->Text(fltk::DisplayText(text));
    label->onDrop = impl_->DropHandler();
    impl_->Add(number, Kind::kStaticText, label);
}

void FltkWindowing::CreatePictureControl(int number, int left, int top, int width, int height) {
    if (!impl_->window) return;
    auto* picture = new fltk::PictureBox(left, top, width, height);
    picture->onDrop = impl_->DropHandler();
    picture->onPointer = [impl = impl_.get()](int x, int y) { impl->OnPointer(x, y); };
    impl_->Add(number, Kind::kPicture, picture);
}

void FltkWindowing::CreateButton(int number, int left, int top, int width, int height,
                                 const std::string& caption) {
    if (!impl_->window) return;
    auto* button = new Fl_Button(left, top, width, height);
    button->copy_label(Cp1252ToUtf8(caption).c_str());
    button->labelsize(fltk::kControlFontSize);
    // Captions are the program's own; '&' in one would mark a shortcut.
    impl_->Add(number, Kind::kButton, button);
}

void FltkWindowing::SetShortcut(int control, Shortcut key, const std::string& tooltip) {
    if (!impl_->window) return;
    if (control == impl_->windowNumber) {
        impl_->window->closeKey = FltkShortcut(key);
        return;
    }
    Impl::Control* c = impl_->Find(control);
    if (!c || c->kind != Kind::kButton) return;
    auto* button = static_cast<Fl_Button*>(c->widget);
    button->shortcut(FltkShortcut(key));
    button->copy_tooltip(Cp1252ToUtf8(tooltip).c_str());
}

void FltkWindowing::ClearText(int control) {
    Impl::Control* c = impl_->Find(control);
    if (!c) return;
    if (c->kind == Kind::kInfoBox) c->buffer->text("");
    if (c->kind == Kind::kStaticText) static_cast<fltk::PlainText*>(c->widget)->Text("");
}

void FltkWindowing::AppendRaw(int control, const std::string& text) {
    Impl::Control* c = impl_->Find(control);
    if (!c) return;
    const std::string shown = fltk::DisplayText(text);
    if (c->kind == Kind::kInfoBox) {
        c->buffer->append(shown.c_str());
    } else if (c->kind == Kind::kStaticText) {
        auto* label = static_cast<fltk::PlainText*>(c->widget);
        label->Text(label->Text() + shown);
    }
}

void FltkWindowing::SetText(int control, const std::string& text) {
    Impl::Control* c = impl_->Find(control);
    if (!c) return;
    const std::string shown = fltk::DisplayText(text);
    if (c->kind == Kind::kInfoBox) c->buffer->text(shown.c_str());
    if (c->kind == Kind::kStaticText) static_cast<fltk::PlainText*>(c->widget)->Text(shown);
    if (c->kind == Kind::kButton) c->widget->copy_label(shown.c_str());
}

void FltkWindowing::ShowPicture(int control, PictureRef picture) {
    Impl::Control* c = impl_->Find(control);
    if (c && c->kind == Kind::kPicture) static_cast<fltk::PictureBox*>(c->widget)->Show(picture);
}

std::string FltkWindowing::OpenFileDialog(const std::string& title, const std::string& defaultPath,
                                          const std::string& filter, int filterIndex) {
    if (impl_->openAnswer) {
        std::string answer = std::move(*impl_->openAnswer);
        impl_->openAnswer.reset();
        if (impl_->scripted) dialogs.push_back({"open", title, defaultPath, filter});
        return answer;
    }
    if (impl_->scripted) return impl_->Scripted("open", title, defaultPath, filter);
    return impl_->RunDialog([&] {
        return fltk::RunFileDialog(fltk::FileDialogKind::kOpen, title, defaultPath, filter,
                                   filterIndex);
    });
}

std::string FltkWindowing::SaveFileDialog(const std::string& title, const std::string& defaultPath,
                                          const std::string& filter, int filterIndex) {
    if (impl_->scripted) return impl_->Scripted("save", title, defaultPath, filter);
    return impl_->RunDialog([&] {
        return fltk::RunFileDialog(fltk::FileDialogKind::kSave, title, defaultPath, filter,
                                   filterIndex);
    });
}

std::string FltkWindowing::InputDialog(const std::string& title, const std::string& prompt,
                                       const std::string& defaultText) {
    if (impl_->scripted) return impl_->Scripted("input", title, defaultText, prompt);
    return impl_->RunDialog([&] { return fltk::RunInputDialog(title, prompt, defaultText); });
}

int FltkWindowing::WaitEvent() {
    while (impl_->events.empty()) {
        // Without a shown window no event can ever come; end the loop.
        if (!impl_->window || !impl_->window->shown()) return kCloseEvent;
        Fl::wait();
    }
    Event event = std::move(impl_->events.front());
    impl_->events.pop_front();
    impl_->eventControl = event.control;
    impl_->eventPoint = event.point;
    if (event.openAnswer) impl_->openAnswer = std::move(event.openAnswer);
    return event.code;
}

int FltkWindowing::EventControl() {
    return impl_->eventControl;
}

Point FltkWindowing::EventPoint() {
    return impl_->eventPoint;
}

void FltkWindowing::PreAnswerOpenDialog(const std::string& path) {
    impl_->openAnswer = path;
}
void FltkWindowing::SetDropLoadButton(int loadButton) {
    impl_->dropLoadButton = loadButton;
}

void FltkWindowing::ScriptDialogs(bool on) {
    impl_->scripted = on;
}
void FltkWindowing::DriveNextDialog(std::function<void()> driver) {
    impl_->driver = std::move(driver);
}

std::optional<OpenDialogInfo> FltkWindowing::CurrentDialog() const {
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

bool FltkWindowing::HasQueuedEvent() const {
    return !impl_->events.empty();
}

void FltkWindowing::Flush() {
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

void FltkWindowing::ClickAt(int x, int y) {
    ClickIn(impl_->Topmost(), x, y);
}

bool FltkWindowing::ClickControl(int control) {
    const Impl::Control* c = impl_->Find(control);
    if (!c) return false;
    // Sent to the main window even while a dialog is open: FLTK must refuse it then.
    ClickIn(impl_->window.get(), c->widget->x() + c->widget->w() / 2,
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

void FltkWindowing::PressTab(bool shift) {
    SendKey(impl_->Topmost(), FL_Tab, "\t", shift ? FL_SHIFT : 0);
}
void FltkWindowing::PressEnter() {
    SendKey(impl_->Topmost(), FL_Enter, "\r", 0);
}
void FltkWindowing::PressEscape() {
    SendKey(impl_->Topmost(), FL_Escape, "\033", 0);
}

void FltkWindowing::TypeText(const std::string& utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const int length = std::max(1, fl_utf8len1(utf8[i]));
        const std::string character = utf8.substr(i, static_cast<std::size_t>(length));
        const unsigned char first = static_cast<unsigned char>(character[0]);
        SendKey(impl_->Topmost(), first < 0x80 ? first : 0, character, 0);
        i += static_cast<std::size_t>(length);
    }
}

void FltkWindowing::SetFocusedInput(const std::string& utf8) {
    if (auto* input = dynamic_cast<Fl_Input_*>(Fl::focus())) {
        input->value(utf8.c_str());
        input->position(input->size());
    }
}

void FltkWindowing::PressKey(Shortcut key) {
    const std::string text(1, key.ctrl ? static_cast<char>(key.key & 0x1F) : key.key);
    SendKey(impl_->Topmost(), key.key, text, (key.ctrl ? FL_CTRL : 0) | (key.alt ? FL_ALT : 0));
}

void FltkWindowing::MovePointer(int x, int y) {
    Fl_Window* window = impl_->window.get();
    if (!window) return;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = window->x() + x;
    Fl::e_y_root = window->y() + y;
    Fl::e_state = 0;
    Fl::handle(FL_MOVE, window);
}

void FltkWindowing::ParkPointer() {
    fl_open_display();
    const Window root = RootWindow(fl_display, fl_screen);
    XWarpPointer(fl_display, None, root, 0, 0, 0, 0, DisplayWidth(fl_display, fl_screen) - 1,
                 DisplayHeight(fl_display, fl_screen) - 1);
    XSync(fl_display, False);
}

void FltkWindowing::RequestClose() {
    if (impl_->window) Fl::handle(FL_CLOSE, impl_->window.get());
}

bool FltkWindowing::DropOnControl(int control, const std::string& uriList) {
    const Impl::Control* c = impl_->Find(control);
    Fl_Window* window = impl_->window.get();
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

std::string FltkWindowing::WindowClass() const {
    if (!impl_->window || !impl_->window->shown()) return "";
    XClassHint hint{};
    std::string result;
    if (XGetClassHint(fl_display, fl_xid(impl_->window.get()), &hint)) {
        result = std::string(hint.res_name ? hint.res_name : "") + "/" +
                 (hint.res_class ? hint.res_class : "");
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
    }
    return result;
}

std::string FltkWindowing::Tooltip(int control) const {
    const Impl::Control* c = impl_->Find(control);
    return c && c->widget->tooltip() ? c->widget->tooltip() : "";
}

std::vector<std::string> FltkWindowing::ShownLines(int control) const {
    const Impl::Control* c = impl_->Find(control);
    if (!c || c->kind != Kind::kStaticText || !impl_->window) return {};
    impl_->window->make_current();
    return static_cast<const fltk::PlainText*>(c->widget)->ShownLines();
}

std::string FltkWindowing::Title() const {
    if (!impl_->window || !impl_->window->shown()) return "";
    const Atom utf8 = XInternAtom(fl_display, "UTF8_STRING", False);
    const Atom name = XInternAtom(fl_display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(fl_display, fl_xid(impl_->window.get()), name, 0, 1024, False, utf8,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data) XFree(data);
    return title;
}

std::optional<ControlInfo> FltkWindowing::Control(int control) const {
    const Impl::Control* c = impl_->Find(control);
    if (!c) return std::nullopt;
    const Fl_Widget* w = c->widget;
    ControlInfo info{w->x(), w->y(), w->w(), w->h(), ""};
    if (c->kind == Kind::kButton && w->label()) info.caption = w->label();
    if (c->kind == Kind::kStaticText) info.caption = static_cast<const fltk::PlainText*>(w)->Text();
    return info;
}

ControlInfo FltkWindowing::WindowGeometry() const {
    ControlInfo info;
    if (!impl_->window || !impl_->window->shown()) return info;
    // Where the X server has put the client area, not what FLTK was asked for.
    const Window xid = fl_xid(impl_->window.get());
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

bool FltkWindowing::FixedSize() const {
    if (!impl_->window || !impl_->window->shown()) return false;
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(fl_display, fl_xid(impl_->window.get()), &hints, &supplied))
        return false;
    return (hints.flags & PMinSize) && (hints.flags & PMaxSize) &&
           hints.min_width == hints.max_width && hints.min_height == hints.max_height &&
           hints.min_width == impl_->window->w() && hints.min_height == impl_->window->h();
}

std::vector<int> FltkWindowing::IconSizes() const {
    std::vector<int> sizes;
    if (!impl_->window || !impl_->window->shown()) return sizes;
    // _NET_WM_ICON: width, height, then width * height ARGB pixels, repeated.
    const std::vector<long> data = LongProperty(fl_xid(impl_->window.get()), "_NET_WM_ICON");
    for (std::size_t at = 0; at + 2 <= data.size();) {
        const long width = data[at], height = data[at + 1];
        if (width <= 0 || height <= 0 || at + 2 + width * height > data.size()) break;
        sizes.push_back(static_cast<int>(width));
        at += 2 + static_cast<std::size_t>(width * height);
    }
    return sizes;
}

int FltkWindowing::FocusedControl() const {
    for (const auto& [id, control] : impl_->controls) {
        if (Fl::focus() == control.widget) return id;
    }
    return 0;
}

std::string FltkWindowing::ControlText(int control) const {
    const Impl::Control* c = impl_->Find(control);
    if (!c) return "";
    switch (c->kind) {
        case Kind::kInfoBox: {
            char* text = c->buffer->text();
            std::string result = text ? text : "";
            std::free(text);
            return result;
        }
        case Kind::kStaticText:
            return static_cast<const fltk::PlainText*>(c->widget)->Text();
        case Kind::kButton:
            return c->widget->label() ? c->widget->label() : "";
        case Kind::kPicture:
            return "";
    }
    return "";
}

PictureRef FltkWindowing::ShownPicture(int control) const {
    const Impl::Control* c = impl_->Find(control);
    if (!c || c->kind != Kind::kPicture) return nullptr;
    return static_cast<const fltk::PictureBox*>(c->widget)->Shown();
}

std::vector<Colour> FltkWindowing::ReadPixels(int x, int y, int width, int height) {
    std::vector<Colour> pixels;
    if (!impl_->window || !impl_->window->shown() || width <= 0 || height <= 0) return pixels;
    Flush();
    impl_->window->make_current();
    uchar* data = fl_read_image(nullptr, x, y, width, height);
    if (!data) return pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        pixels.push_back(RgbColour(data[3 * i], data[3 * i + 1], data[3 * i + 2]));
    }
    delete[] data;
    return pixels;
}

}  // namespace platform
