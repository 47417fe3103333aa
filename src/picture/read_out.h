// What the picture shows under the mouse pointer, as one line of text: the
// picture position, the track position as the objects use it, the terrain
// with its colour, the height-map cell against the water level, and the
// object drawn there. Computed from the track, never from pixels, so it
// names what lies under the overlays too.
#pragma once

#include <string>

#include "track/track.h"

namespace picture {

// Pieces of the read-out at picture point (x, y); `valid` is false off the
// map and for a refused track.
struct PointInfo {
    bool valid = false;
    int x = 0, y = 0;            // picture column and row
    int trackX = 0, trackY = 0;  // object coordinates of the pixel's lower-left corner
    int terrain = -1;            // -1: the landmap's runs end before this pixel
    int red = 0, green = 0, blue = 0;
    int height = -1;  // -1: the cell lies beyond the end of the file
    int waterLevel = 0;
    int objectType = -1;  // -1: no object drawn here
    int heading = 0;
};

PointInfo InfoAt(const track::Track& track, int x, int y);

// The read-out line (Windows-1252); empty when `InfoAt` is not valid.
std::string ReadOutText(const PointInfo& info);

// How far from a ghost frame's pixel, on each axis, the pointer names it.
inline constexpr int kGhostReach = 3;

// The ghost frame drawn nearest to picture point (x, y), within kGhostReach:
// its number, its time into the lap, its speed and that speed's share of
// the lap's top speed (Windows-1252). Empty when no frame is that near or
// the track has no lap.
std::string GhostReadOutText(const track::Track& track, int x, int y);

// What the tool calls an object type; "object" for types it does not draw.
std::string ObjectKind(int type);

}  // namespace picture
