// Fonts for the drawing surface. A face is found through fontconfig and
// rasterised once through FreeType for all 256 Windows-1252 bytes, so
// drawing text needs neither library afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

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
    std::int64_t TextWidth(const std::string& text) const;
};

// Points at the 96 dots per inch the tool is laid out for, to the nearest
// pixel (12 points give 16).
int PointsToPixels(int points);

// The installed face named `face` (UTF-8) with characters `pixels` high.
// When that face is not installed the best monospaced face stands in.
// nullptr when no face can be found or rasterised, or `pixels` is outside
// 1 to kMaxFontPixels.
std::unique_ptr<Font> MakeFont(const std::string& face, int pixels);
inline constexpr int kMaxFontPixels = 256;

// The font text starts with in every drawing. It always gives a font: when
// the system has none, a built-in one draws every character as a hollow box.
std::unique_ptr<Font> MakeDefaultFont();
std::unique_ptr<Font> MakeBoxFont();

}  // namespace platform
