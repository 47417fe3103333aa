// The ghost lap as blue 3 x 3 dots, one per frame.
#include "picture/picture.h"
#include "raster/draw.h"

namespace picture {

bool HasGhost(const track::Track& track) {
    return track.results[1].time < track::kNoTime;
}

bool DrawGhost(raster::Picture& picture, const track::Track& track) {
    if (!HasGhost(track)) return false;
    const float scale = track::GhostScale(track.worldSize);
    const raster::Colour blue = raster::RgbColour(0, 0, 255);
    for (int f = 0; f < track.ghostFrameCount; ++f) {
        // Frames a damaged file places beyond its end are left out.
        const std::optional<track::GhostPoint> frame = track::GhostFrame(track, f);
        if (!frame) continue;
        const track::MapPixel at = track::GhostPixel(*frame, scale);
        if (!at.InsideMargin()) continue;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                raster::PlotPixel(picture, at.column + dx, at.row + dy, blue);
        }
    }
    return true;
}

}  // namespace picture
