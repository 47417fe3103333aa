// Row conversions of the save path. They run once per row of every saved
// picture, so x86 gets an SSSE3 path, chosen at run time.
#pragma once

#include <cstdint>

namespace exporter {

// `width` colours (red in the low byte) to blue, green, red bytes. Writes
// exactly 3 x width bytes.
void ColoursToBgr(const std::int32_t* colours, std::uint8_t* out, int width);

// `width` pixels of blue, green, red to red, green, blue. Reads and writes
// exactly 3 x width bytes.
void BgrToRgb(const std::uint8_t* bgr, std::uint8_t* rgb, int width);

}  // namespace exporter
