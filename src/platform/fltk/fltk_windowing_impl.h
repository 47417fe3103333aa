// The inside of the FLTK backend, for its own source and for the desktop
// tests' probe, which drives the same widgets. Nothing else includes it.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Buffer.H>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/fltk/fltk_windowing.h"

namespace platform {

namespace fltk {

struct Event {
    int code = 0;
    int control = 0;
    std::optional<std::string> openAnswer;  // a dropped track
    Point point;                            // pointer events
};

enum class Kind { kInfoBox, kStaticText, kPicture, kButton };

}  // namespace fltk

struct FltkWindowing::Impl {
    struct Control {
        Impl* owner = nullptr;
        int id = 0;
        fltk::Kind kind = fltk::Kind::kButton;
        Fl_Widget* widget = nullptr;
        std::unique_ptr<Fl_Text_Buffer> buffer;  // information box only
    };

    // Declared before the window, so that they outlive the widgets using them.
    std::vector<std::vector<std::uint8_t>> iconPixels;
    std::vector<std::unique_ptr<Fl_RGB_Image>> icons;
    std::map<int, Control> controls;  // map nodes stay put: callbacks keep pointers
    std::unique_ptr<fltk::MainWindow> window;

    std::deque<fltk::Event> events;
    int eventControl = 0;
    Point eventPoint;
    int windowNumber = 0;
    std::optional<std::string> openAnswer;
    int dropLoadButton = 0;

    Control* Find(int id) {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }
    const Control* Find(int id) const {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }

    Control& Add(int id, fltk::Kind kind, Fl_Widget* widget) {
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

    static void OnControl(Fl_Widget* /*widget*/, void* data) {
        const auto* control = static_cast<Control*>(data);
        control->owner->events.push_back({kControlEvent, control->id, std::nullopt, {}});
    }

    // The window manager's close request; the window stays until shut-down.
    // Escape, which FLTK also reports here, is no close request.
    static void OnWindow(Fl_Widget* /*widget*/, void* data) {
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
};

}  // namespace platform
