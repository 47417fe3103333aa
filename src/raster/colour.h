// Colours as the tool keeps them: 24-bit RGB, red in the low byte.
#pragma once

#include <cstdint>

namespace raster {

// red + 256 * green + 65536 * blue.
using Colour = std::int32_t;

constexpr Colour RgbColour(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

}  // namespace raster
