#include "app/dispatch.h"

#include "app/state.h"
#include "export/export.h"
#include "picture/picture.h"
#include "track/track.h"

namespace app {

void LoadAndShowTrack() {
    track::LoadTrack();
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

}  // namespace app
