#include "raster/font.h"

namespace raster {

std::int64_t Font::TextWidth(std::string_view text) const {
    std::int64_t width = 0;
    for (char c : text) width += For(c).advance;
    return width;
}

int PointsToPixels(int points) {
    // Rounds half away from zero, as the desktop's own conversion does.
    const std::int64_t scaled = static_cast<std::int64_t>(points) * 96;
    return static_cast<int>(scaled >= 0 ? (scaled + 36) / 72 : -((-scaled + 36) / 72));
}

std::unique_ptr<Font> MakeBoxFont() {
    auto font = std::make_unique<Font>();
    font->family = "boxes";
    font->fixedWidth = true;
    font->ascent = 12;
    font->descent = 4;
    for (int byte = 0; byte < 256; ++byte) {
        Glyph& glyph = font->glyphs[byte];
        glyph.advance = 8;
        if (byte == ' ' || byte == 0xA0) continue;
        glyph.left = 1;
        glyph.top = 11;
        glyph.width = 6;
        glyph.rows = 11;
        glyph.mask.assign(std::size_t{6} * 11, 0);
        for (int r = 0; r < glyph.rows; ++r) {
            for (int c = 0; c < glyph.width; ++c) {
                const bool edge = r == 0 || r == glyph.rows - 1 || c == 0 || c == glyph.width - 1;
                glyph.mask[static_cast<std::size_t>(r) * glyph.width + c] = edge ? 1 : 0;
            }
        }
    }
    return font;
}

}  // namespace raster
