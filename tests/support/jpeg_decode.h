// Reads JPEG files back through libjpeg's decompressor, independently of
// the tool's encoder, for the export tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <jpeglib.h>

struct DecodedJpeg {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = true;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    std::vector<std::uint8_t> rgb;                    // rows from the top, red-green-blue
    std::array<std::array<unsigned, 64>, 2> quant{};  // luminance, chrominance
};

// False when the file is missing or not a JPEG the library can read.
bool DecodeJpeg(const std::string& path, DecodedJpeg& out);

// The quantisation tables libjpeg makes for `quality`.
std::array<std::array<unsigned, 64>, 2> ReferenceTables(int quality);
