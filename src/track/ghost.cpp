// Ghost positions on the map: the one computation the ghost overlays, the
// lap's table and the read-out share.
#include <cmath>

#include "track/track.h"

namespace track {
namespace {

// Ghost units to the nearest pixel, halves to even (the FPU's default
// rounding). Quotients far outside the map, and those of a zero scale, are
// reported as -1 so that they fail every position test.
int NearestPixel(std::uint16_t units, float scale) {
    const double q = std::nearbyint(units / static_cast<double>(scale));
    return (q >= 0.0 && q <= 100000.0) ? static_cast<int>(q) : -1;
}

}  // namespace

float GhostScale(std::uint8_t worldSize) {
    return static_cast<float>(worldSize * static_cast<double>(29.5f) / static_cast<double>(100.0f));
}

MapPixel GhostPixel(GhostPoint point, float scale) {
    const int row = NearestPixel(point.y, scale);
    return {NearestPixel(point.x, scale), row < 0 ? -1 : 511 - row};
}

}  // namespace track
