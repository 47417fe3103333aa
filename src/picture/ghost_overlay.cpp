// The ghost lap as blue 3 x 3 dots, one per frame.
#include <cmath>
#include <cstdint>

#include "picture/picture.h"
#include "raster/draw.h"

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

float GhostScale(std::uint8_t worldSize) {
    return static_cast<float>(worldSize * static_cast<double>(29.5f) / static_cast<double>(100.0f));
}

bool HasGhost(const track::Track& track) {
    return track.results[1].time < track::kNoTime;
}

bool DrawGhost(raster::Picture& picture, const track::Track& track) {
    if (!HasGhost(track)) return false;
    const float scale = GhostScale(track.worldSize);
    const raster::Colour blue = raster::RgbColour(0, 0, 255);
    for (int f = 0; f < track.ghostFrameCount; ++f) {
        // Frames a damaged file places beyond its end are left out.
        const std::optional<track::GhostPoint> frame = track::GhostFrame(track, f);
        if (!frame) continue;
        const int px = NearestPixel(frame->x, scale);
        const int row = NearestPixel(frame->y, scale);
        const int py = row < 0 ? -1 : 511 - row;
        if (px < 1 || px > 510 || py < 1 || py > 510) continue;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) raster::PlotPixel(picture, px + dx, py + dy, blue);
        }
    }
    return true;
}

}  // namespace picture
