// The ghost lap as a line coloured by speed, with its key.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "lap/lap.h"
#include "picture/colours.h"
#include "picture/picture.h"
#include "raster/draw.h"

namespace picture {
namespace {

// The line `width` pixels wide around the segment from a to b.
void WideLine(raster::Picture& picture, const lap::Sample& a, const lap::Sample& b, int width,
              raster::Colour colour) {
    const int reach = width / 2;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (std::abs(dx) + std::abs(dy) > reach) continue;
            raster::DrawLine(picture, a.column + dx, a.row + dy, b.column + dx, b.row + dy, colour);
        }
    }
}

// Whether the pixels `reach` around a frame lie on the map.
bool Clear(const lap::Sample& s, int reach) {
    return s.column >= reach && s.column <= 511 - reach && s.row >= reach && s.row <= 511 - reach;
}

// "slow" and "fast" over a bar of the scale, at the band's right end.
void DrawKey(raster::Picture& picture, const raster::Font& font,
             const std::function<raster::Colour(double)>& colour) {
    constexpr int kLeft = 404, kWidth = 100, kTextTop = 518, kBarTop = 540, kBarHeight = 8;
    const raster::Colour white = raster::RgbColour(255, 255, 255);
    const raster::Colour band = raster::RgbColour(0, 100, 150);
    raster::DrawText(picture, font, kLeft, kTextTop, "slow", white, band);
    const auto fastWidth = static_cast<int>(font.TextWidth("fast"));
    raster::DrawText(picture, font, kLeft + kWidth - fastWidth, kTextTop, "fast", white, band);
    for (int x = 0; x < kWidth; ++x)
        raster::FillBox(picture, kLeft + x, kBarTop, 1, kBarHeight,
                        colour(x / static_cast<double>(kWidth - 1)));
}

// The scale's colour at `share`, or with `steps` (2 or more) that of the
// nearest of as many even steps.
raster::Colour SteppedSpeedColour(double share, int steps) {
    if (steps < 2) return SpeedColour(share);
    const double last = steps - 1;
    return SpeedColour(std::round(std::clamp(share, 0.0, 1.0) * last) / last);
}

}  // namespace

raster::Colour SpeedColour(double share) {
    const double at = std::clamp(share, 0.0, 1.0) * (kSpeedScale.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(at), kSpeedScale.size() - 2);
    const double t = at - static_cast<double>(low);
    const raster::Colour a = kSpeedScale[low];
    const raster::Colour b = kSpeedScale[low + 1];
    const auto mix = [t](int from, int to) {
        return static_cast<int>(std::lround(from + t * (to - from)));
    };
    return raster::RgbColour(mix(raster::RedOf(a), raster::RedOf(b)),
                             mix(raster::GreenOf(a), raster::GreenOf(b)),
                             mix(raster::BlueOf(a), raster::BlueOf(b)));
}

bool DrawGhostSpeedLine(raster::Picture& picture, const track::Track& track, int steps) {
    const std::optional<lap::Lap> lap = lap::ReadLap(track);
    if (!lap) return false;
    const auto [slowest, fastest] = std::minmax_element(
        lap->samples.begin(), lap->samples.end(),
        [](const lap::Sample& a, const lap::Sample& b) { return a.speed < b.speed; });
    const double range = fastest->speed - slowest->speed;
    // As the dots: only where both frames lie on the map, clear of its edge.
    const auto drawn = [](const lap::Sample& s) { return Clear(s, 1); };
    const std::vector<lap::Sample>& s = lap->samples;
    // A white casing first, which lets the dark end of the scale show on
    // the dark road; it stays off the caption band.
    for (std::size_t k = 1; k < s.size(); ++k) {
        if (Clear(s[k - 1], 2) && Clear(s[k], 2))
            WideLine(picture, s[k - 1], s[k], 5, raster::RgbColour(255, 255, 255));
    }
    for (std::size_t k = 1; k < s.size(); ++k) {
        if (!drawn(s[k - 1]) || !drawn(s[k])) continue;
        const double share = range > 0 ? (s[k].speed - slowest->speed) / range : 1.0;
        WideLine(picture, s[k - 1], s[k], 3, SteppedSpeedColour(share, steps));
    }
    return true;
}

bool DrawGhostSpeed(raster::Picture& picture, const track::Track& track, const raster::Font& font,
                    int steps) {
    if (!DrawGhostSpeedLine(picture, track, steps)) return false;
    DrawKey(picture, font, [steps](double share) { return SteppedSpeedColour(share, steps); });
    return true;
}

}  // namespace picture
