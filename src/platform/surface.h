// The window's drawing surface: numbered stores of pictures and fonts, and
// the one drawing open at a time, as the window's actions use them. The
// pictures, fonts and drawing operations themselves are raster's; this is
// only the runtime layer that names them by number.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "raster/font.h"
#include "raster/picture.h"

namespace platform {

// What the picture control keeps: the picture itself, not a copy.
using PictureRef = const raster::Picture*;
using FontRef = const raster::Font*;
inline const FontRef kDefaultFont = reinterpret_cast<FontRef>(-1);

// Makes picture `number` from a BMP file image (8 bits per pixel with its
// colour table). The image is read only inside `image`. The old picture of
// that number is discarded first, so on failure (returns false) there is none.
bool PictureFromBitmap(int number, std::span<const std::uint8_t> image);
bool PictureExists(int number);
PictureRef PictureHandle(int number);  // nullptr when there is none

// Scales picture `number`, keeping its proportions, to the largest size
// that fits `side` x `side` (raster::ScaledToFit). False when there is no
// picture or it cannot be scaled; the picture is then unchanged.
bool ScalePictureToFit(int number, int side);

// Font `number` of the given face at `points` (96 dpi). Falls back to a
// monospaced face when the face is not installed; false when no font at all.
bool LoadFontNumbered(int number, const std::string& face, int points);
FontRef FontHandle(int number);  // nullptr when there is none

// Opens a drawing on picture `pictureNumber`, ending any drawing still open,
// and gives its target: the picture to draw on with raster's operations,
// nullptr when there is no such picture.
raster::Picture* BeginDrawing(int pictureNumber);
void EndDrawing();
// Chooses the open drawing's font: a stored font, or kDefaultFont. A handle
// of no stored font (a font that failed to load) keeps the font as it was.
void SetDrawingFont(FontRef font);
// The font the open drawing writes text in: the one chosen, or the default.
const raster::Font& DrawingFont();

// Frees every picture and font (shut-down, and tests between cases).
void FreeSurface();

}  // namespace platform
