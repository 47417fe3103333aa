// A true-colour picture as a value: its size, its pixels, and the scratch
// its flood fills keep between calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/memory.h"
#include "raster/colour.h"

namespace raster {

// Memory for pixels, from platform: a picture is a megabyte or more, and the
// first touch of each small page of fresh memory costs more than drawing on
// it; where the system can back a picture with one large page, it does.
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    // Implicit on purpose: the standard library converts allocators implicitly.
    template <typename U>
    // cppcheck-suppress noExplicitConstructor
    PixelAllocator(const PixelAllocator<U>& /*other*/) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(platform::AllocatePixels(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t /*n*/) noexcept { platform::FreePixels(memory); }
    friend bool operator==(const PixelAllocator&, const PixelAllocator&) = default;
};
using Pixels = std::vector<Colour, PixelAllocator<Colour>>;

// What the flood fills of one picture keep between calls, so that a picture
// drawn over and over (a batch's) takes this memory once: the fill's work
// lists, and which fill last reached each pixel (see FilledSince).
struct FillScratch {
    struct Span {
        std::size_t row, left, right;
    };
    std::vector<std::pair<int, int>> pending;
    std::vector<Span> spans;
    std::vector<std::uint16_t> reached;
    std::uint16_t round = 0;
    std::uint32_t epoch = 0;
};

struct Picture {
    int width = 0;
    int height = 0;
    Pixels pixels;  // row by row from the top, `width` per row
    FillScratch fills;

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Whether it has exactly width x height pixels, at least one.
    bool Whole() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

}  // namespace raster
