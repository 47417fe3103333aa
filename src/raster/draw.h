// Drawing on a picture. Every operation works on the picture it is given and
// keeps nothing elsewhere, so threads may draw on pictures of their own at
// once. Pixels outside the picture are dropped; colours are written exactly
// (the byte above blue is cleared).
#pragma once

#include <cstdint>
#include <string_view>

#include "raster/colour.h"
#include "raster/font.h"
#include "raster/picture.h"

namespace raster {

// Columns x to x + width - 1 and rows y to y + height - 1; nothing for a
// width or height below 1.
void FillBox(Picture& picture, int x, int y, int width, int height, Colour colour);
void PlotPixel(Picture& picture, int x, int y, Colour colour);
// A line one pixel wide with both end points set: one pixel per step along
// the longer axis, the nearest to the ideal line (halves round up).
void DrawLine(Picture& picture, int x1, int y1, int x2, int y2, Colour colour);
// Every pixel reachable from (x, y) by steps left, right, up or down without
// crossing a pixel of exactly `border` takes `fill`; nothing when (x, y) is
// outside or has the border colour.
void FloodFill(Picture& picture, int x, int y, Colour border, Colour fill);

// A point in a picture's run of fills; FilledSince tells whether a fill
// after it reached (x, y). False when unsure: the marks start again every
// 65,535 fills and when the picture changes size.
struct FillMark {
    std::uint32_t epoch = 0;
    std::uint16_t round = 0;
};
FillMark CurrentFillMark(Picture& picture);
bool FilledSince(const Picture& picture, FillMark mark, int x, int y);

// Draws Windows-1252 `text` as one line in `font`, the top-left corner of its
// first cell at (x, y): the cells filled with `background`, the glyphs inked
// in `textColour`. Returns the x just right of the text.
int DrawText(Picture& picture, const Font& font, int x, int y, std::string_view text,
             Colour textColour, Colour background);

}  // namespace raster
