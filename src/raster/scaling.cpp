#include "raster/scaling.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cstdint>

namespace raster {

std::optional<Picture> ScaledToFit(const Picture& picture, int side) {
    const std::int64_t width = picture.width;
    const std::int64_t height = picture.height;
    if (!picture.Whole() || side < 1 || side > kMaxScaledSide) return std::nullopt;
    const std::int64_t longer = std::max(width, height);
    // Rounded to the nearest pixel, never below one.
    const auto fit = [&](std::int64_t length) {
        return static_cast<int>(std::max<std::int64_t>(1, (length * side + longer / 2) / longer));
    };
    Picture scaled;
    scaled.width = fit(width);
    scaled.height = fit(height);
    scaled.pixels.assign(static_cast<std::size_t>(scaled.width) * scaled.height, 0);
    // A Colour's four bytes are four independent channels to the resizer:
    // red, green, blue and an always-zero fourth, in whatever byte order.
    const int done = stbir_resize_uint8_generic(
        reinterpret_cast<const unsigned char*>(picture.pixels.data()), picture.width,
        picture.height, 0, reinterpret_cast<unsigned char*>(scaled.pixels.data()), scaled.width,
        scaled.height, 0, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
        STBIR_COLORSPACE_LINEAR, nullptr);
    if (!done) return std::nullopt;
    for (Colour& c : scaled.pixels) c &= 0xFFFFFF;
    return scaled;
}

}  // namespace raster
