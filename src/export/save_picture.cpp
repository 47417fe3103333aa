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

void SavePicture() {
    app::AnalyserState& s = app::state;
    RecordWrite(app::WriteOutcome::kNothing, "", "");
    const std::string defaultPath = ProposedPath(s.PictureName, ".jpg");
    const std::string chosen = platform::SaveFileDialog("Save Image", defaultPath, "jpg|*.jpg", 0);
    if (chosen.empty()) return;

    const SaveImageResult result = SaveImage(picture::kTrackPicture, chosen, kJpegEncoderId);
    if (result.written) {
        RecordWrite(app::WriteOutcome::kSaved, chosen, "");
        s.StatusMessage = "Image saved";
        app::PostStatus();
    } else if (!result.error.empty()) {
        // No picture yet stays quiet; a file that could not be written does not.
        RecordWrite(result.refused ? app::WriteOutcome::kRefused : app::WriteOutcome::kNotSaved,
                    chosen, result.error);
        s.StatusMessage = "Image not saved: " + platform::TextFromPath(result.error);
        app::PostStatus();
    }
}

}  // namespace exporter
