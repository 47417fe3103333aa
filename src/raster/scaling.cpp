#include "raster/scaling.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cstdint>
#include <vector>

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

// Where output pixel k's block of the source starts, for k = 0 .. out:
// blocks that tile the source, none empty when out <= in.
std::vector<int> BlockStarts(int in, int out) {
    std::vector<int> starts(static_cast<std::size_t>(out) + 1);
    for (int k = 0; k <= out; ++k)
        starts[static_cast<std::size_t>(k)] =
            static_cast<int>(static_cast<std::int64_t>(k) * in / out);
    return starts;
}

// Each pixel of `size` the average of the block of the source it covers:
// the block's rows summed column by column, then the columns block by block.
Picture BoxShrunk(const Picture& picture, std::pair<int, int> size) {
    Picture small;
    small.width = size.first;
    small.height = size.second;
    small.pixels.resize(static_cast<std::size_t>(small.width) * small.height);
    const std::vector<int> xs = BlockStarts(picture.width, small.width);
    const std::vector<int> ys = BlockStarts(picture.height, small.height);
    const auto width = static_cast<std::size_t>(picture.width);
    // Per column: red and blue in the two halves of one word, green in
    // another, while a block has few enough rows that a half cannot
    // overflow; else each channel in a word of its own.
    std::vector<std::uint32_t> red(width), green(width), blue(width);
    std::vector<std::uint32_t> redBlueBefore(width + 1), greenBefore(width + 1);
    std::uint32_t widest = 0;
    for (int x = 0; x < small.width; ++x)
        widest = std::max<std::uint32_t>(
            widest, static_cast<std::uint32_t>(xs[static_cast<std::size_t>(x) + 1] -
                                               xs[static_cast<std::size_t>(x)]));
    for (int y = 0; y < small.height; ++y) {
        const int top = ys[static_cast<std::size_t>(y)];
        const int bottom = ys[static_cast<std::size_t>(y) + 1];
        const bool halves = bottom - top <= 0xFFFF / 0xFF;
        std::fill(red.begin(), red.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        if (!halves) std::fill(blue.begin(), blue.end(), 0);
        for (int sy = top; sy < bottom; ++sy) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(picture.pixels.data()) +
                              static_cast<std::size_t>(sy) * width;
            if (halves) {
                for (std::size_t x = 0; x < width; ++x) {
                    red[x] += row[x] & 0x00FF00FFu;
                    green[x] += (row[x] >> 8) & 0xFFu;
                }
                continue;
            }
            for (std::size_t x = 0; x < width; ++x) {
                red[x] += row[x] & 0xFFu;
                green[x] += (row[x] >> 8) & 0xFFu;
                blue[x] += (row[x] >> 16) & 0xFFu;
            }
        }
        Colour* out = small.pixels.data() + static_cast<std::size_t>(y) * small.width;
        const auto rows = static_cast<std::uint32_t>(bottom - top);
        if (halves && widest * rows <= 0xFFFF / 0xFF) {
            // Whole blocks still fit the halves: each block's sums are the
            // difference of two running sums along the row, which wrap
            // around in 32 bits and still differ by exactly the block's.
            std::uint32_t runRedBlue = 0;
            std::uint32_t runGreen = 0;
            for (std::size_t x = 0; x < width; ++x) {
                redBlueBefore[x] = runRedBlue;
                greenBefore[x] = runGreen;
                runRedBlue += red[x];
                runGreen += green[x];
            }
            redBlueBefore[width] = runRedBlue;
            greenBefore[width] = runGreen;
            for (int x = 0; x < small.width; ++x) {
                const auto left = static_cast<std::size_t>(xs[static_cast<std::size_t>(x)]);
                const auto right = static_cast<std::size_t>(xs[static_cast<std::size_t>(x) + 1]);
                const std::uint32_t redBlue = redBlueBefore[right] - redBlueBefore[left];
                const std::uint32_t greens = greenBefore[right] - greenBefore[left];
                const std::uint32_t area = static_cast<std::uint32_t>(right - left) * rows;
                const auto average = [area](std::uint32_t sum) {
                    return static_cast<int>((sum + area / 2) / area);
                };
                out[x] =
                    RgbColour(average(redBlue & 0xFFFFu), average(greens), average(redBlue >> 16));
            }
            continue;
        }
        if (halves) {
            for (std::size_t x = 0; x < width; ++x) {
                blue[x] = red[x] >> 16;
                red[x] &= 0xFFFFu;
            }
        }
        for (int x = 0; x < small.width; ++x) {
            const auto left = static_cast<std::size_t>(xs[static_cast<std::size_t>(x)]);
            const auto right = static_cast<std::size_t>(xs[static_cast<std::size_t>(x) + 1]);
            std::uint64_t sums[3] = {0, 0, 0};
            for (std::size_t sx = left; sx < right; ++sx) {
                sums[0] += red[sx];
                sums[1] += green[sx];
                sums[2] += blue[sx];
            }
            const std::uint64_t area = static_cast<std::uint64_t>(right - left) * rows;
            const auto average = [&](int k) {
                return static_cast<int>((sums[k] + area / 2) / area);
            };
            out[x] = RgbColour(average(0), average(1), average(2));
        }
    }
    return small;
}

}  // namespace

std::optional<Picture> ScaledToFit(const Picture& picture, int side) {
    if (!picture.Whole() || side < 1 || side > kMaxScaledSide) return std::nullopt;
    return Resized(picture, FittedSize(picture, side));
}

std::optional<Picture> ShrunkToFit(const Picture& picture, int side) {
    if (!picture.Whole() || side < 1 || side > kMaxScaledSide) return std::nullopt;
    const std::pair<int, int> size = FittedSize(picture, side);
    if (size.first > picture.width || size.second > picture.height) return Resized(picture, size);
    return BoxShrunk(picture, size);
}

}  // namespace raster
