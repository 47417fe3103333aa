// The track's objects: dots, squares, and turned rectangles sized from the
// world size. The float arithmetic follows the game's own, step by step in
// 32-bit floats, so that corners land on the same pixels.
#include <cmath>
#include <cstdint>

#include "picture/colours.h"
#include "picture/objects.h"
#include "picture/picture.h"
#include "raster/draw.h"

namespace picture {
namespace {

constexpr float kHalfPi = 1.5707963705062866f;

int Pixel(float v) {
    return static_cast<int>(v);
}  // truncation toward zero

void DrawTurnedRectangle(raster::Picture& picture, const Object& o, int halfWidth, int halfLength,
                         raster::Colour colour) {
    const auto a = static_cast<double>(HeadingAngle(o.heading));
    const double w = halfWidth;
    const double l = halfLength;
    const auto sideX = static_cast<float>(w * std::sin(static_cast<double>(kHalfPi) - a));
    const auto sideY = static_cast<float>(w * std::cos(static_cast<double>(kHalfPi) - a));

    auto centreX = static_cast<float>(o.px + l * std::sin(a));
    auto centreY = static_cast<float>(o.py - l * std::cos(a));
    const auto p1x = static_cast<float>(static_cast<double>(centreX) - static_cast<double>(sideX));
    const auto p1y = static_cast<float>(static_cast<double>(centreY) - static_cast<double>(sideY));
    const auto p2x = static_cast<float>(static_cast<double>(centreX) + static_cast<double>(sideX));
    const auto p2y = static_cast<float>(static_cast<double>(centreY) + static_cast<double>(sideY));
    raster::DrawLine(picture, Pixel(p1x), Pixel(p1y), Pixel(p2x), Pixel(p2y), colour);

    centreX = static_cast<float>(o.px - l * std::sin(a));
    centreY = static_cast<float>(o.py + l * std::cos(a));
    const auto p3x = static_cast<float>(static_cast<double>(centreX) - static_cast<double>(sideX));
    const auto p3y = static_cast<float>(static_cast<double>(centreY) - static_cast<double>(sideY));
    const auto p4x = static_cast<float>(static_cast<double>(centreX) + static_cast<double>(sideX));
    const auto p4y = static_cast<float>(static_cast<double>(centreY) + static_cast<double>(sideY));
    raster::DrawLine(picture, Pixel(p3x), Pixel(p3y), Pixel(p4x), Pixel(p4y), colour);
    raster::DrawLine(picture, Pixel(p1x), Pixel(p1y), Pixel(p3x), Pixel(p3y), colour);
    raster::DrawLine(picture, Pixel(p2x), Pixel(p2y), Pixel(p4x), Pixel(p4y), colour);
}

}  // namespace

void DrawObjects(raster::Picture& picture, const track::Track& track) {
    const auto& colours = kObjectColours;
    const int ws = track.worldSize;

    ForEachPlacedObject(track, [&](const Object& o) {
        if (o.type != 10 || !DotInside(o)) return;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                raster::PlotPixel(picture, o.px + dx, o.py + dy, colours[7]);
        }
    });

    ForEachPlacedObject(track, [&](const Object& o) {
        if (o.type != 9 || !DotInside(o)) return;
        raster::FillBox(picture, o.px - 2, o.py - 2, 5, 5, colours[0]);
        raster::PlotPixel(picture, o.px, o.py, colours[7]);
    });

    // The rectangles are sized by dividing by the world size; a world size
    // of 0 has no size, so they are left out.
    if (ws == 0) return;
    const raster::Colour outline = raster::RgbColour(170, 170, 170);
    const HalfSize big = LargeHalfSize(ws);
    // Within this pass outlines only add border pixels and fills only add
    // the fill colour, so regions only split: a point that an earlier fill
    // of the pass reached lies in a region wholly filled, and filling from
    // it again changes nothing. Without this, 32,767 large halls would each
    // refill most of the picture.
    const bool skipSpent = outline != colours[1];
    const raster::FillMark passStart = raster::CurrentFillMark(picture);
    ForEachPlacedObject(track, [&](const Object& o) {
        if (!IsLargeRectangle(o.type) || !PassesMarginTest(o, big.width)) return;
        DrawTurnedRectangle(picture, o, big.width, big.length, outline);
        if (!skipSpent || !raster::FilledSince(picture, passStart, o.px, o.py))
            raster::FloodFill(picture, o.px, o.py, outline, colours[1]);
    });

    const HalfSize small = SmallHalfSize(ws);
    ForEachPlacedObject(track, [&](const Object& o) {
        raster::Colour colour = 0;
        switch (o.type) {
            case 1:
                colour = colours[9];
                break;
            case 2:
                colour = colours[11];
                break;
            case 3:
                colour = colours[10];
                break;
            case 23:
                colour = colours[4];
                break;
            default:
                return;
        }
        if (PassesMarginTest(o, small.width))
            DrawTurnedRectangle(picture, o, small.width, small.length, colour);
    });
}

}  // namespace picture
