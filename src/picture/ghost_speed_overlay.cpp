// The ghost lap as a line coloured by speed, with its key.
#include <algorithm>
#include <cmath>
#include <optional>

#include "lap/lap.h"
#include "picture/colours.h"
#include "picture/picture.h"
#include "raster/draw.h"

namespace picture {
namespace {

// Three pixels wide, so that the colour reads over any terrain.
void ThickLine(raster::Picture& picture, const lap::Sample& a, const lap::Sample& b,
               raster::Colour colour) {
    static constexpr int kOffsets[5][2] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : kOffsets)
        raster::DrawLine(picture, a.column + o[0], a.row + o[1], b.column + o[0], b.row + o[1],
                         colour);
}

// "slow" and "fast" over a bar of the scale, at the band's right end.
void DrawKey(raster::Picture& picture, const raster::Font& font) {
    constexpr int kLeft = 404, kWidth = 100, kTextTop = 518, kBarTop = 540, kBarHeight = 8;
    const raster::Colour white = raster::RgbColour(255, 255, 255);
    const raster::Colour band = raster::RgbColour(0, 100, 150);
    raster::DrawText(picture, font, kLeft, kTextTop, "slow", white, band);
    const auto fastWidth = static_cast<int>(font.TextWidth("fast"));
    raster::DrawText(picture, font, kLeft + kWidth - fastWidth, kTextTop, "fast", white, band);
    for (int x = 0; x < kWidth; ++x)
        raster::FillBox(picture, kLeft + x, kBarTop, 1, kBarHeight,
                        SpeedColour(x / static_cast<double>(kWidth - 1)));
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

bool DrawGhostSpeed(raster::Picture& picture, const track::Track& track, const raster::Font& font) {
    const std::optional<lap::Lap> lap = lap::ReadLap(track);
    if (!lap) return false;
    const auto [slowest, fastest] = std::minmax_element(
        lap->samples.begin(), lap->samples.end(),
        [](const lap::Sample& a, const lap::Sample& b) { return a.speed < b.speed; });
    const double range = fastest->speed - slowest->speed;
    for (std::size_t k = 1; k < lap->samples.size(); ++k) {
        const lap::Sample& a = lap->samples[k - 1];
        const lap::Sample& b = lap->samples[k];
        // As the dots: only where both frames lie on the map, clear of its edge.
        if (!track::MapPixel{a.column, a.row}.InsideMargin() ||
            !track::MapPixel{b.column, b.row}.InsideMargin())
            continue;
        const double share = range > 0 ? (b.speed - slowest->speed) / range : 1.0;
        ThickLine(picture, a, b, SpeedColour(share));
    }
    DrawKey(picture, font);
    return true;
}

}  // namespace picture
