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

// The same size as ScaledToFit gives, for thumbnails: each pixel the
// average of the block of `picture` it covers (a larger size is left to
// ScaledToFit). stb's resizer works in floats over a wide filter and took
// more time for a 117 x 128 thumbnail than drawing the track's picture.
std::optional<Picture> ShrunkToFit(const Picture& picture, int side);

}  // namespace raster
