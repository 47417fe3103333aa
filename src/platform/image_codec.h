// Pictures into image files: the system's image libraries behind one seam.
// On Linux libjpeg-turbo and libpng; another system may implement these with
// its own codecs. Both write into a file opened for writing in binary and
// leave it open; the caller flushes and closes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/result.h"
#include "raster/picture.h"

namespace platform {

// Writes `picture` as a baseline JPEG (YCbCr, 4:2:0) at `quality`, clamped
// to 0..100 with 0 taken as 1, into `file`; fails unless the whole image
// was written.
Result<> WriteJpeg(const raster::Picture& picture, int quality, std::FILE* file);

// How hard a PNG's encoder packs it: kSmall as libpng does by default;
// kQuick in a fraction of the time, a few times larger, for pictures of
// large flat areas (charts) that are made on demand.
enum class PngPacking { kSmall, kQuick };

// Writes `picture` as a PNG (8-bit RGB, exactly its pixels) into `file`;
// fails unless the whole image was written.
Result<> WritePng(const raster::Picture& picture, std::FILE* file,
                  PngPacking packing = PngPacking::kSmall);

// Pixels as drawing libraries (cairo) leave them: each a 32-bit 0xXXRRGGBB
// in the machine's own byte order, its highest byte unused; rows `stride`
// bytes apart. Only looked at, never kept.
struct XrgbRows {
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    const std::uint8_t* data = nullptr;

    bool Whole() const {
        return width > 0 && height > 0 && data != nullptr &&
               stride >= static_cast<std::ptrdiff_t>(width) * 4;
    }
};

// Writes the rows as a PNG (8-bit RGB) into `file`, read where they lie;
// fails unless the whole image was written. Not on Windows, whose build
// draws no charts.
Result<> WritePng(const XrgbRows& rows, std::FILE* file, PngPacking packing);

// A picture of few colours with see-through pixels: each pixel a byte that
// names an entry of `palette`, entry 0 being transparent (its colour
// unused). At most 256 entries.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // row by row from the top
    std::vector<raster::Colour> palette;

    // Whether a pixel's index is past the palette's last entry. Eight
    // pixels at a time, in loops without a branch that the compiler can
    // widen further: a check pixel by pixel, as the image is packed, cost
    // as much as the packing.
    bool IndexPastPalette() const {
        if (palette.empty()) return !pixels.empty();
        if (palette.size() > 255) return false;
        const auto last = static_cast<std::uint64_t>(palette.size() - 1);
        constexpr std::uint64_t kOnes = 0x0101010101010101;
        constexpr std::uint64_t kLow = kOnes * 0x7F;
        constexpr std::uint64_t kHigh = kOnes * 0x80;
        // Per byte x, with no carry into the next: bit 7 of (x & 0x7F) +
        // (127 - l) is set just where x's low seven bits exceed l; past 127,
        // x's own bit 7 must be set too.
        const std::size_t words = pixels.size() / 8;
        const std::uint8_t* bytes = pixels.data();
        const auto word = [bytes](std::size_t k) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, bytes + 8 * k, 8);
            return eight;
        };
        std::uint64_t past = 0;
        if (last < 128) {
            const std::uint64_t add = kOnes * (127 - last);
            for (std::size_t k = 0; k < words; ++k) past |= ((word(k) & kLow) + add) | word(k);
        } else {
            const std::uint64_t add = kOnes * (255 - last);
            for (std::size_t k = 0; k < words; ++k) past |= ((word(k) & kLow) + add) & word(k);
        }
        if ((past & kHigh) != 0) return true;
        for (std::size_t k = 8 * words; k < pixels.size(); ++k)
            if (pixels[k] > last) return true;
        return false;
    }

    // Why the picture cannot be written, or nullptr when it can.
    const char* Problem() const {
        if (width <= 0 || height <= 0 ||
            pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
            return "no picture to write";
        if (palette.empty() || palette.size() > 256) return "a palette holds 1 to 256 colours";
        if (IndexPastPalette()) return "a pixel's colour is not in the palette";
        return nullptr;
    }
};

// Writes `picture` as a PNG whose transparent pixels have alpha 0 and all
// others 255, as small and as fast as its few colours allow (a palette of
// as few bits as they need, the fastest compression); fails unless the
// whole image was written.
Result<> WriteIndexedPng(const IndexedPicture& picture, std::FILE* file);

}  // namespace platform
