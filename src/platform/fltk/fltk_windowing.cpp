#include "platform/fltk/fltk_windowing.h"
#include "platform/fltk/fltk_windowing_impl.h"

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

using fltk::Kind;

// The X class of the window, which docks and task bars match with the
// desktop entry's StartupWMClass.
constexpr const char* kWindowClass = "track-analyse";

int FltkShortcut(Shortcut key) {
    if (key.key == 0) return 0;
    return (key.ctrl ? FL_CTRL : 0) + (key.alt ? FL_ALT : 0) + key.key;
}

constexpr int kIconSizes[] = {16, 32, 48};

}  // namespace

FltkWindowing::FltkWindowing() : impl_(std::make_unique<Impl>()) {}

FltkWindowing::~FltkWindowing() {
    if (impl_->window) impl_->window->hide();
    impl_->window.reset();
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
        return answer;
    }
    return fltk::RunFileDialog(fltk::FileDialogKind::kOpen, title, defaultPath, filter,
                               filterIndex);
}

std::string FltkWindowing::SaveFileDialog(const std::string& title, const std::string& defaultPath,
                                          const std::string& filter, int filterIndex) {
    return fltk::RunFileDialog(fltk::FileDialogKind::kSave, title, defaultPath, filter,
                               filterIndex);
}

std::string FltkWindowing::InputDialog(const std::string& title, const std::string& prompt,
                                       const std::string& defaultText) {
    return fltk::RunInputDialog(title, prompt, defaultText);
}

int FltkWindowing::WaitEvent() {
    while (impl_->events.empty()) {
        // Without a shown window no event can ever come; end the loop.
        if (!impl_->window || !impl_->window->shown()) return kCloseEvent;
        Fl::wait();
    }
    fltk::Event event = std::move(impl_->events.front());
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

}  // namespace platform
