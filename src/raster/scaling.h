// Pictures scaled to fit a square, on stb's resizer.
#pragma once

#include <optional>

#include "raster/picture.h"

namespace raster {

// Sides up to this many pixels are made.
inline constexpr int kMaxScaledSide = 4096;

// `picture` scaled, keeping its proportions, to the largest size that fits
// `side` x `side` (at least one pixel each way); nullopt when it has no
// pixels, `side` is outside 1 to kMaxScaledSide, or the resizer fails.
std::optional<Picture> ScaledToFit(const Picture& picture, int side);

// The same size as ScaledToFit gives, for thumbnails: the picture is first
// halved, each pixel the average of two by two, for as long as it stays at
// least twice `side` both ways, and only the rest is left to the resizer.
// stb's resizer works in floats over a wide filter and took 5 to 8 ms for
// a 512 x 560 picture, more than drawing and encoding a whole track.
std::optional<Picture> ShrunkToFit(const Picture& picture, int side);

}  // namespace raster
