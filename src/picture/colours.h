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

// Speeds from slow to fast: viridis, a perceptually even scale that also
// reads in grey and to the colour-blind, at eleven evenly spaced stops.
inline constexpr std::array<raster::Colour, 11> kSpeedScale = {
    raster::RgbColour(0x44, 0x01, 0x54), raster::RgbColour(0x48, 0x25, 0x76),
    raster::RgbColour(0x41, 0x44, 0x87), raster::RgbColour(0x35, 0x60, 0x8D),
    raster::RgbColour(0x2A, 0x78, 0x8E), raster::RgbColour(0x21, 0x90, 0x8C),
    raster::RgbColour(0x22, 0xA8, 0x84), raster::RgbColour(0x43, 0xBF, 0x71),
    raster::RgbColour(0x7A, 0xD1, 0x51), raster::RgbColour(0xBB, 0xDF, 0x27),
    raster::RgbColour(0xFD, 0xE7, 0x25)};

}  // namespace picture
