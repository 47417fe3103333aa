// The objects as the objects overlay draws them, shared with the read-out
// so that both agree on where each object lies and what it covers.
#pragma once

#include <cstdint>

#include "track/track.h"

namespace picture {

// An object record at its picture position.
struct Object {
    int type = 0;
    int px = 0, py = 0;  // pixel of the centre
    int heading = 0;     // 0..255
};

// Visits the track's objects at their pixels: column x / 2 and row
// 511 - y / 2, both halvings toward zero.
template <typename Visit>
void ForEachPlacedObject(const track::Track& track, Visit visit) {
    track::ForEachObject(track, [&](const track::Object& o) {
        visit(Object{o.type, o.x / 2, 511 - o.y / 2, o.heading});
    });
}

// Dots and squares are drawn only with their centre inside this frame.
inline bool DotInside(const Object& o) {
    return 1 <= o.px && o.px <= 510 && 1 <= o.py && o.py <= 510;
}

// Both axes use only the half width; the half length may still reach past
// the map, where drawing is clipped.
inline bool PassesMarginTest(const Object& o, int halfWidth) {
    return halfWidth <= o.px && o.px < 511 - halfWidth && halfWidth <= o.py &&
           o.py < 511 - halfWidth;
}

inline bool IsLargeRectangle(int type) {
    return type == 17 || type == 18;
}
inline bool IsSmallRectangle(int type) {
    return type == 1 || type == 2 || type == 3 || type == 23;
}

// Half sizes of the turned rectangles; the world size must not be 0.
struct HalfSize {
    int width = 0, length = 0;
};
inline HalfSize LargeHalfSize(int worldSize) {
    return {(6200 / worldSize) / 2, (15900 / worldSize) / 2};
}
inline HalfSize SmallHalfSize(int worldSize) {
    return {(400 / worldSize) / 2, (3100 / worldSize) / 2};
}

// The heading byte as an angle in radians, in the game's own 32-bit steps:
// 244 steps a turn, a quarter turn added.
inline float HeadingAngle(int heading) {
    constexpr float kHeadingOffset = 61.0f;
    constexpr float kStepsPerTurn = 244.0f;
    constexpr float kWrapStep = -244.0f;
    constexpr float kDegreesPerStep = 1.47541f;  // a little more than 360 / 244
    constexpr float kRadiansPerDegree = 0.01745f;
    float t = static_cast<float>(heading) + kHeadingOffset;
    if (t > kStepsPerTurn) t = t + kWrapStep;
    t = t * kDegreesPerStep;
    return t * kRadiansPerDegree;
}

}  // namespace picture
