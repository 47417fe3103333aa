// The two colour tables of the picture: the palette index each landmap
// terrain code is drawn in, and the colours of the objects overlay. The
// window's state record holds copies of them, as it always has.
#pragma once

#include <array>
#include <cstdint>

#include "raster/colour.h"

namespace picture {

// Entry = terrain code; entry 16 is never used. Only the low byte counts.
inline constexpr std::array<std::int32_t, 17> kTerrainIndex = {
    23, 26, 42, 154, 59, 83, 89, 104, 100, 242, 245, 244, 9, 0, 0, 0, 0};

// Close to the palette colours of the terrain codes, but their own.
inline constexpr std::array<raster::Colour, 17> kObjectColours = {raster::RgbColour(160, 160, 160),
                                                                  raster::RgbColour(180, 180, 180),
                                                                  raster::RgbColour(144, 220, 96),
                                                                  raster::RgbColour(190, 200, 128),
                                                                  raster::RgbColour(150, 140, 100),
                                                                  raster::RgbColour(190, 180, 160),
                                                                  raster::RgbColour(240, 220, 210),
                                                                  raster::RgbColour(246, 251, 254),
                                                                  raster::RgbColour(220, 231, 240),
                                                                  raster::RgbColour(255, 255, 255),
                                                                  raster::RgbColour(255, 255, 0),
                                                                  raster::RgbColour(255, 0, 0),
                                                                  raster::RgbColour(63, 63, 63),
                                                                  0,
                                                                  0,
                                                                  0,
                                                                  0};

}  // namespace picture
