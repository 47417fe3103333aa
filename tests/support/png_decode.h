// Reads PNG bytes back through libpng's simplified reader, independently of
// the tool's encoder.
#pragma once

#include <png.h>

#include <cstdint>
#include <string_view>
#include <vector>

// The pixels of `bytes` in `format` (PNG_FORMAT_RGB, PNG_FORMAT_RGBA, ...),
// rows from the top; empty when the bytes are no PNG libpng reads.
inline std::vector<std::uint8_t> DecodePng(std::string_view bytes, png_uint_32 format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = format;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    return pixels;
}
