#include "shell/dispatch.h"

#include "app/actions.h"
#include "app/folder_memory.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "platform/windowing.h"

namespace shell {

void LoadAndShowTrack() {
    app::LoadTrack();
    app::RememberTrackFolder();
    if (!app::state.LoadError.empty()) return;
    app::ParseTrack();
    if (app::state.TrackRejected == 0) app::BuildTrackPicture();
}

void RunButton(int id) {
    if (id == app::kLoadButton) {
        LoadAndShowTrack();
    } else if (id == app::kWaterButton) {
        app::DrawWaterOverlay();
    } else if (id == app::kSaveButton) {
        app::SavePicture();
    } else if (id == app::kObjectsButton) {
        app::DrawObjectsOverlay();
    } else if (id == app::kGhostButton) {
        app::DrawGhostOverlay();
    } else if (id == app::kCarButton) {
        app::ExtractCar();
    }
}

bool HandleEvent(int code) {
    app::AnalyserState& s = app::state;
    s.LastEvent = code;
    if (code == platform::kControlEvent) RunButton(platform::EventControl());
    if (code == platform::kPointerEvent) {
        const platform::Point at = platform::EventPoint();
        s.PointerX = at.x;
        s.PointerY = at.y;
    }
    // After an action too: a load or a rejected file changes what lies
    // under a pointer that has not moved.
    if (code == platform::kControlEvent || code == platform::kPointerEvent)
        platform::SetText(app::kReadOutControl, app::ReadOutAt(s.PointerX, s.PointerY));
    return code == platform::kCloseEvent;
}

}  // namespace shell
