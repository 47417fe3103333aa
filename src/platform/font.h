// The system's fonts as raster fonts. A face is found through fontconfig
// (GDI on Windows) and rasterised once for all 256 Windows-1252 bytes, so
// drawing text needs neither afterwards.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "raster/font.h"

namespace platform {

using raster::Font;
using raster::Glyph;
using raster::kMaxFontPixels;

// The installed face named `face` (UTF-8) with characters `pixels` high.
// When that face is not installed the best monospaced face stands in.
// nullptr when no face can be found or rasterised, or `pixels` is outside
// 1 to kMaxFontPixels.
std::unique_ptr<Font> MakeFont(const std::string& face, int pixels);

// Where the face MakeFont(face, pixels) draws with lies: its file, the
// face's number in that file, and its family. Nothing when no face is found.
// Kept between runs (font_cache.h), so that only a change of the font setup
// brings fontconfig in.
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
};
std::optional<FaceFile> FindFontFile(const std::string& face, int pixels);

// The system's default face for text. It always gives a font: when the
// system has none, the box font of raster.
std::unique_ptr<Font> MakeDefaultFont();

}  // namespace platform
