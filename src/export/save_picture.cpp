#include "app/state.h"
#include "app/status_log.h"
#include "export/export.h"
#include "export/jpeg_encoder.h"
#include "picture/picture.h"
#include "platform/encoding.h"
#include "platform/windowing.h"

namespace exporter {

void RecordWrite(app::WriteOutcome outcome, const std::string& path, const std::string& error) {
    app::AnalyserState& s = app::state;
    s.LastWrite = outcome;
    s.WritePath = path;
    s.WriteError = error;
}

void RecordFailedWrite(const std::string& path, const platform::Failure& failure) {
    RecordWrite(failure.refused ? app::WriteOutcome::kRefused : app::WriteOutcome::kNotSaved, path,
                failure.reason);
}

void SavePicture() {
    app::AnalyserState& s = app::state;
    RecordWrite(app::WriteOutcome::kNothing, "", "");
    const std::string defaultPath = ProposedPath(s.PictureName, ".jpg");
    const std::string chosen = platform::SaveFileDialog("Save Image", defaultPath, "jpg|*.jpg", 0);
    if (chosen.empty()) return;

    const platform::Result<bool> saved = SaveImage(picture::kTrackPicture, chosen, kJpegEncoderId);
    if (!saved) {
        RecordFailedWrite(chosen, saved.failure());
        s.StatusMessage = "Image not saved: " + platform::TextFromPath(saved.reason());
        app::PostStatus();
    } else if (*saved) {
        RecordWrite(app::WriteOutcome::kSaved, chosen, "");
        s.StatusMessage = "Image saved";
        app::PostStatus();
    }
    // No picture yet stays quiet.
}

}  // namespace exporter
