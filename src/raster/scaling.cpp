#include "raster/scaling.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cstdint>

namespace raster {
namespace {

// The largest size of `picture`'s proportions that fits `side` x `side`,
// rounded to the nearest pixel, never below one.
std::pair<int, int> FittedSize(const Picture& picture, int side) {
    const std::int64_t width = picture.width;
    const std::int64_t height = picture.height;
    const std::int64_t longer = std::max(width, height);
    const auto fit = [&](std::int64_t length) {
        return static_cast<int>(std::max<std::int64_t>(1, (length * side + longer / 2) / longer));
    };
    return {fit(width), fit(height)};
}

std::optional<Picture> Resized(const Picture& picture, std::pair<int, int> size) {
    Picture scaled;
    scaled.width = size.first;
    scaled.height = size.second;
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

// Each pixel the average of a two-by-two block, rounded; an odd last row or
// column is left out.
Picture Halved(const Picture& picture) {
    Picture half;
    half.width = picture.width / 2;
    half.height = picture.height / 2;
    half.pixels.resize(static_cast<std::size_t>(half.width) * half.height);
    for (int y = 0; y < half.height; ++y) {
        const Colour* top = picture.pixels.data() + static_cast<std::size_t>(2 * y) * picture.width;
        const Colour* bottom = top + picture.width;
        Colour* out = half.pixels.data() + static_cast<std::size_t>(y) * half.width;
        for (int x = 0; x < half.width; ++x) {
            const Colour a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x],
                         d = bottom[2 * x + 1];
            const auto average = [&](int shift) {
                return (((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) +
                        ((d >> shift) & 0xFF) + 2) /
                       4;
            };
            out[x] = RgbColour(average(0), average(8), average(16));
        }
    }
    return half;
}

}  // namespace

std::optional<Picture> ScaledToFit(const Picture& picture, int side) {
    if (!picture.Whole() || side < 1 || side > kMaxScaledSide) return std::nullopt;
    return Resized(picture, FittedSize(picture, side));
}

std::optional<Picture> ShrunkToFit(const Picture& picture, int side) {
    if (!picture.Whole() || side < 1 || side > kMaxScaledSide) return std::nullopt;
    const std::pair<int, int> size = FittedSize(picture, side);
    const Picture* source = &picture;
    Picture halved;
    while (source->width >= 2 * size.first && source->height >= 2 * size.second) {
        halved = Halved(*source);
        source = &halved;
    }
    return Resized(*source, size);
}

}  // namespace raster
