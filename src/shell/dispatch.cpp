#include "shell/dispatch.h"

#include "app/folder_memory.h"
#include "app/state.h"
#include "export/export.h"
#include "picture/picture.h"
#include "picture/read_out.h"
#include "platform/windowing.h"
#include "track/track.h"

namespace app {

void LoadAndShowTrack() {
    track::LoadTrack();
    RememberTrackFolder();
    if (!state.LoadError.empty()) return;
    track::ParseTrack();
    if (state.TrackRejected == 0) picture::BuildTrackPicture();
}

void RunButton(int id) {
    if (id == kLoadButton) {
        LoadAndShowTrack();
    } else if (id == kWaterButton) {
        picture::DrawWaterOverlay();
    } else if (id == kSaveButton) {
        exporter::SavePicture();
    } else if (id == kObjectsButton) {
        picture::DrawObjectsOverlay();
    } else if (id == kGhostButton) {
        picture::DrawGhostOverlay();
    } else if (id == kCarButton) {
        exporter::ExtractCar();
    }
}

bool HandleEvent(int code) {
    state.LastEvent = code;
    if (code == platform::kControlEvent) RunButton(platform::EventControl());
    if (code == platform::kPointerEvent) {
        const platform::Point at = platform::EventPoint();
        state.PointerX = at.x;
        state.PointerY = at.y;
    }
    // After an action too: a load or a rejected file changes what lies
    // under a pointer that has not moved.
    if (code == platform::kControlEvent || code == platform::kPointerEvent)
        platform::SetText(kReadOutControl, picture::ReadOutAt(state.PointerX, state.PointerY));
    return code == platform::kCloseEvent;
}

}  // namespace app
