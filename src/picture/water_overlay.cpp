// Cells of the height map below the water level, as blue 8 x 8 squares.
#include "picture/overlay.h"
#include "track/layout.h"
#include "track/reader.h"

namespace picture {

void DrawWaterOverlay() {
    const app::AnalyserState& s = app::state;
    if (!s.TrackAccepted) return;
    const track::Reader file = track::LoadedTrack();
    const std::int64_t heights = FileOffset(s.HeightMapData);

    platform::BeginDrawing(kTrackPicture);
    const platform::Colour water = platform::RgbColour(0, 64, 255);
    // Cell 0 is the bottom-left square; each row of 64 cells goes up by 8.
    for (int i = 0; i < track::kHeightMapSize; ++i) {
        // Cells of a damaged file that lie beyond its end are left out.
        if (!file.Has(heights + i, 1)) continue;
        if (file.U8(heights + i) < s.WaterLevel) {
            platform::FillBox(8 * (i % 64), 504 - 8 * (i / 64), 8, 8, water);
        }
    }
    platform::EndDrawing();
    ShowTrackPicture();
}

}  // namespace picture
