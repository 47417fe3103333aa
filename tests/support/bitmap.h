// 8-bit BMP file images of our own, as the drawing surface takes them: the
// tests and benchmarks make their pictures from these.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "raster/colour.h"

// `width` x `height` (a negative height stores the rows top-down), every pixel
// byte `fill`, colour-table entry i = palette(i). Rows are padded to 4 bytes.
inline std::vector<std::uint8_t> EightBitBitmap(int width, int height, std::uint8_t fill,
                                                const std::function<raster::Colour(int)>& palette) {
    const int stride = (width + 3) / 4 * 4;
    const int rows = std::abs(height);
    std::vector<std::uint8_t> b(1078 + static_cast<std::size_t>(stride) * rows, fill);
    std::fill(b.begin(), b.begin() + 1078, std::uint8_t{0});
    const auto put32 = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 1334);
    put32(10, 1078);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 8;
    put32(34, 256);
    put32(46, 256);
    for (int i = 0; i < 256; ++i) {
        const raster::Colour c = palette(i);
        b[54 + 4 * i] = static_cast<std::uint8_t>(raster::BlueOf(c));
        b[55 + 4 * i] = static_cast<std::uint8_t>(raster::GreenOf(c));
        b[56 + 4 * i] = static_cast<std::uint8_t>(raster::RedOf(c));
    }
    return b;
}
