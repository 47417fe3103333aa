// The drawing surface: numbered stores of true-colour pictures and fonts,
// and the drawing operations the picture code uses. Our own raster code;
// the caption font comes through FreeType and fontconfig (font.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// 24-bit RGB, red in the low byte: red + 256 * green + 65536 * blue.
using Colour = std::int32_t;

constexpr Colour RgbColour(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

// Memory for pixels. A picture is a megabyte or more, and the first touch
// of each small page of fresh memory costs more than drawing on it; where
// the system can back a picture with one large page, it does.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* memory) noexcept;

template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    // Implicit on purpose: the standard library converts allocators implicitly.
    template <typename U>
    // cppcheck-suppress noExplicitConstructor
    PixelAllocator(const PixelAllocator<U>& /*other*/) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocatePixels(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t /*n*/) noexcept { FreePixels(memory); }
    friend bool operator==(const PixelAllocator&, const PixelAllocator&) = default;
};
using Pixels = std::vector<Colour, PixelAllocator<Colour>>;

struct Picture {
    int width = 0;
    int height = 0;
    Pixels pixels;  // row by row from the top, `width` per row

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the picture control keeps: the picture itself, not a copy.
using PictureRef = const Picture*;

class Font;  // a rasterised face; defined in font.h
using FontRef = const Font*;
inline const FontRef kDefaultFont = reinterpret_cast<FontRef>(-1);

// Makes picture `number` from a BMP file image (8 bits per pixel with its
// colour table). The image is read only inside `image`. The old picture of
// that number is discarded first, so on failure (returns false) there is none.
bool PictureFromBitmap(int number, std::span<const std::uint8_t> image);
bool PictureExists(int number);
PictureRef PictureHandle(int number);  // nullptr when there is none

// Scales picture `number`, keeping its proportions, to the largest size
// that fits `side` x `side` (at least one pixel each way). stb's resizer
// does the filtering. False when there is no picture or `side` is outside
// 1 to kMaxScaledSide; the picture is then unchanged.
bool ScalePictureToFit(int number, int side);
inline constexpr int kMaxScaledSide = 4096;

// Font `number` of the given face at `points` (96 dpi). Falls back to a
// monospaced face when the face is not installed; false when no font at all.
bool LoadFontNumbered(int number, const std::string& face, int points);
FontRef FontHandle(int number);  // nullptr when there is none

// A drawing on a picture; operations outside an open drawing, or on a
// drawing without a target, do nothing. Pixels outside the picture are dropped.
void BeginDrawing(int pictureNumber);
void EndDrawing();
void SetDrawingFont(FontRef font);
// Draws Windows-1252 `text` with opaque cells; returns the x just right of it.
int DrawTextAt(int x, int y, const std::string& text, Colour textColour, Colour background);
void FillBox(int x, int y, int width, int height, Colour colour);
void PlotPixel(int x, int y, Colour colour);
void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
void FloodFill(int x, int y, Colour border, Colour fill);
// Marks a point in the run of fills; FilledSince tells whether a fill after
// it reached (x, y) of the drawing's picture. False when unsure: the marks
// start again every 65,535 fills and when another picture is filled.
struct FillMark {
    std::uint32_t epoch = 0;
    std::uint16_t round = 0;
};
FillMark CurrentFillMark();
bool FilledSince(FillMark mark, int x, int y);

// Frees every picture and font (shut-down, and tests between cases).
void FreeSurface();

}  // namespace platform
