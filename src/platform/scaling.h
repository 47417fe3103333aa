// Picture scaling for the drawing surface, on stb's resizer.
#pragma once

#include <optional>

#include "platform/surface.h"

namespace platform {

// `picture` scaled, keeping its proportions, to the largest size that fits
// `side` x `side`; nullopt when it has no pixels or the resizer fails.
std::optional<Picture> ScaledToFit(const Picture& picture, int side);

}  // namespace platform
