// A rasterised face as a value: every one of the 256 Windows-1252 bytes as a
// one-bit glyph mask with its metrics. Platform makes them from the system's
// fonts; drawing text needs nothing but this.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace raster {

struct Glyph {
    int advance = 0;  // pen movement to the next character cell
    int left = 0;     // from the pen position to the mask's first column
    int top = 0;      // from the baseline up to the mask's first row
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> mask;  // width * rows, 1 where the glyph is inked

    bool Inked(int column, int row) const {
        return mask[static_cast<std::size_t>(row) * width + column] != 0;
    }
};

class Font {
  public:
    std::string family;       // the face actually used
    bool fixedWidth = false;  // every glyph has the same advance
    int ascent = 0;           // pixels above the baseline in a character cell
    int descent = 0;          // pixels below it
    std::array<Glyph, 256> glyphs;

    int CellHeight() const { return ascent + descent; }
    const Glyph& For(char byte) const { return glyphs[static_cast<unsigned char>(byte)]; }
    // Width of `text` drawn as one line.
    std::int64_t TextWidth(std::string_view text) const;
};

// Faces are made from 1 to this many pixels high.
inline constexpr int kMaxFontPixels = 256;

// Points at the 96 dots per inch the tool is laid out for, to the nearest
// pixel (12 points give 16).
int PointsToPixels(int points);

// A font that needs no system at all: every character a hollow box in an
// 8 x 16 cell, the blank ones empty.
std::unique_ptr<Font> MakeBoxFont();

}  // namespace raster
