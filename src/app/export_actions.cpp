// "save" and "Car": the core's picture file and car bytes, written through
// the safe writer to the name the save dialog gives, the outcome recorded.
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/save_image.h"
#include "app/state.h"
#include "app/status_log.h"
#include "app/window_layout.h"
#include "export/car_file.h"
#include "export/image_file.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/windowing.h"

namespace app {
namespace {

void Post(const std::string& message) {
    state.StatusMessage = message;
    PostStatus();
}

// Why a write to `path` failed, naming its file unless the reason does
// already ("x.jpg is a folder"): "x.jpg: Not a directory".
std::string AboutFile(const std::string& path, const std::string& reason) {
    const std::string name = platform::FilePart(path);
    return platform::TextFromPath(reason.starts_with(name) ? reason : name + ": " + reason);
}

}  // namespace

void RecordWrite(WriteOutcome outcome, const std::string& path, const std::string& error) {
    AnalyserState& s = state;
    s.LastWrite = outcome;
    s.WritePath = path;
    s.WriteError = error;
}

void RecordFailedWrite(const std::string& path, const platform::Failure& failure) {
    RecordWrite(failure.refused ? WriteOutcome::kRefused : WriteOutcome::kNotSaved, path,
                failure.reason);
}

std::string ProposedCarName(int k) {
    return platform::ProposedPath(state.CarNames[k], ".car");
}

void SavePicture() {
    RecordWrite(WriteOutcome::kNothing, "", "");
    const std::string defaultPath = platform::ProposedPath(state.PictureName, ".jpg");
    const std::string chosen = platform::SaveFileDialog("Save Image", defaultPath, "jpg|*.jpg", 0);
    if (chosen.empty()) return;

    const platform::Result<bool> saved = SaveImage(kTrackPicture, chosen, kJpegEncoderId);
    if (!saved) {
        RecordFailedWrite(chosen, saved.failure());
        Post("Image not saved: " + AboutFile(chosen, saved.reason()));
    } else if (*saved) {
        RecordWrite(WriteOutcome::kSaved, chosen, "");
        Post(std::string(exporter::kImageSavedStatus));
    }
    // No picture yet stays quiet.
}

void ExtractCar() {
    const AnalyserState& s = state;
    RecordWrite(WriteOutcome::kNothing, "", "");
    // Car positions come from the last accepted parse; without one, or with a
    // refused file now in the buffer, they would point at the wrong bytes.
    if (!s.TrackAccepted) {
        RecordWrite(WriteOutcome::kRefused, "", "no track loaded");
        Post(exporter::CarNotSavedStatus("no track loaded"));
        return;
    }
    if (s.TrackRejected != 0) {
        RecordWrite(WriteOutcome::kRefused, "", "the loaded file is not a track");
        Post(exporter::CarNotSavedStatus("the loaded file is not a track"));
        return;
    }

    const std::string answer = platform::InputDialog("save car", "Select No.  0 (Best), 1-6", "");
    const std::int32_t k = exporter::ReadCarNumber(answer);
    if (k < 0 || k >= track::kCarCount) return;

    const platform::Result<std::vector<std::uint8_t>> car = exporter::CarFile(RecordedTrack(), k);
    if (!car) {
        RecordWrite(WriteOutcome::kNotSaved, "", car.reason());
        Post(exporter::CarNotSavedStatus(car.reason()));
        return;
    }

    const std::string chosen =
        platform::SaveFileDialog("save car", ProposedCarName(k), "car|*.car", 0);
    if (chosen.empty()) return;

    const platform::Result<> written = platform::WriteFileSafely(chosen, *car, s.TrackIdentity);
    if (!written) {
        RecordFailedWrite(chosen, written.failure());
        Post(exporter::CarNotSavedStatus(AboutFile(chosen, written.reason())));
        return;
    }
    RecordWrite(WriteOutcome::kSaved, chosen, "");
    Post(exporter::CarSavedStatus(s.CarNames[k]));
}

}  // namespace app
