// The ghost lap as blue 3 x 3 dots, one per frame.
#include <cmath>
#include <cstdint>

#include "app/status_log.h"
#include "picture/overlay.h"
#include "track/layout.h"
#include "track/reader.h"

namespace picture {
namespace {

// Ghost units to the nearest pixel, halves to even (the FPU's default
// rounding). Quotients far outside the map, and those of a zero scale, are
// reported as -1 so that they fail the position test.
int NearestPixel(std::uint16_t units, float scale) {
    const double q = std::nearbyint(units / static_cast<double>(scale));
    return (q >= 0.0 && q <= 100000.0) ? static_cast<int>(q) : -1;
}

}  // namespace

void DrawGhostOverlay() {
    app::AnalyserState& s = app::state;
    if (!s.TrackAccepted) return;
    if (s.PlaceTimes[1] >= app::kNoTime) {
        s.StatusMessage = "kein Ghost";
        app::PostStatus();
        return;
    }
    const track::Reader file = track::LoadedTrack();
    const std::int64_t section = FileOffset(s.GhostData);

    platform::BeginDrawing(kTrackPicture);
    s.GhostScale =
        static_cast<float>(s.WorldSize * static_cast<double>(29.5f) / static_cast<double>(100.0f));
    const platform::Colour blue = platform::RgbColour(0, 0, 255);
    for (int f = 0; f < s.GhostFrameCount; ++f) {
        const std::int64_t at = section + 2 + track::kGhostFrameSize * f;
        // Frames a damaged file places beyond its end are left out.
        if (!file.Has(at, track::kGhostFrameSize)) continue;
        const int px = NearestPixel(file.U16(at), s.GhostScale);
        const int row = NearestPixel(file.U16(at + 4), s.GhostScale);
        const int py = row < 0 ? -1 : 511 - row;
        if (px < 1 || px > 510 || py < 1 || py > 510) continue;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) platform::PlotPixel(px + dx, py + dy, blue);
        }
    }
    platform::EndDrawing();
    ShowTrackPicture();
}

}  // namespace picture
