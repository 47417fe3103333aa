#include "raster/bitmap.h"

#include <algorithm>
#include <array>

#include "bytes/reader.h"

namespace raster {
namespace {

// Images larger than this are not something the tool ever makes.
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

bool Decode(std::span<const std::uint8_t> image, Picture& picture) {
    const bytes::Reader bmp(image);
    if (!bmp.Has(0, 54) || bmp.U8(0) != 'B' || bmp.U8(1) != 'M') return false;
    const std::uint32_t pixelOffset = bmp.U32(10);
    const std::uint32_t headerSize = bmp.U32(14);
    if (headerSize < 40 || bmp.U16(28) != 8 || bmp.U32(30) != 0) return false;

    const std::int64_t w = bmp.I32(18);
    const std::int64_t signedHeight = bmp.I32(22);
    const bool bottomUp = signedHeight > 0;
    const std::int64_t h = bottomUp ? signedHeight : -signedHeight;
    if (w <= 0 || h <= 0 || w * h > kMaxPixels) return false;

    const std::uint32_t coloursUsed = bmp.U32(46);
    const std::int64_t entries = coloursUsed == 0 ? 256 : std::min<std::int64_t>(coloursUsed, 256);
    const std::int64_t stride = (w + 3) / 4 * 4;
    const std::span<const std::uint8_t> table =
        bmp.Bytes(14 + std::int64_t{headerSize}, 4 * entries);
    const std::span<const std::uint8_t> rows = bmp.Bytes(pixelOffset, stride * h);
    if (table.empty() || rows.empty()) return false;

    std::array<Colour, 256> palette{};  // entries past the table stay black
    for (std::size_t i = 0; i < static_cast<std::size_t>(entries); ++i)
        palette[i] = RgbColour(table[4 * i + 2], table[4 * i + 1], table[4 * i]);

    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    picture.pixels.resize(static_cast<std::size_t>(w * h));
    for (std::int64_t y = 0; y < h; ++y) {
        const std::int64_t stored = bottomUp ? h - 1 - y : y;
        const std::uint8_t* row = &rows[static_cast<std::size_t>(stored * stride)];
        Colour* out = &picture.pixels[static_cast<std::size_t>(y * w)];
        // Four at a time: this lookup is a good part of drawing each track.
        std::int64_t x = 0;
        for (; x + 4 <= w; x += 4) {
            out[x] = palette[row[x]];
            out[x + 1] = palette[row[x + 1]];
            out[x + 2] = palette[row[x + 2]];
            out[x + 3] = palette[row[x + 3]];
        }
        for (; x < w; ++x) out[x] = palette[row[x]];
    }
    return true;
}

}  // namespace

bool DecodeBitmap(std::span<const std::uint8_t> image, Picture& picture) {
    if (Decode(image, picture)) return true;
    picture.width = picture.height = 0;
    picture.pixels.clear();
    return false;
}

}  // namespace raster
