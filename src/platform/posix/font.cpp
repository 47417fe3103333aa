#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <optional>

#include "platform/encoding.h"
#include "platform/font_cache.h"

namespace platform {

namespace {

bool HasFamily(FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
            return true;
    }
    return false;
}

// fontconfig always answers with some font; `exact` turns a stand-in for a
// missing family into "not found".
std::optional<FaceFile> FindFace(const std::string& family, int pixels, bool exact, bool mono) {
    if (!FcInit()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    if (mono) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return std::nullopt;

    std::optional<FaceFile> found;
    FcChar8* path = nullptr;
    FcChar8* name = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch &&
        (!exact || HasFamily(font, family))) {
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcPatternGetString(font, FC_FAMILY, 0, &name);
        found = FaceFile{reinterpret_cast<const char*>(path), index,
                         name ? reinterpret_cast<const char*>(name) : ""};
    }
    FcPatternDestroy(font);
    return found;
}

bool SetSize(FT_Face face, int pixels) {
    if (FT_IS_SCALABLE(face)) return FT_Set_Pixel_Sizes(face, 0, pixels) == 0;
    // A bitmap-only face: the strike nearest to the asked height.
    if (face->num_fixed_sizes <= 0) return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - pixels) <
            std::abs(face->available_sizes[best].height - pixels))
            best = i;
    }
    return FT_Select_Size(face, best) == 0;
}

// Glyph bitmaps larger than this come only from a broken face.
constexpr int kMaxGlyphSide = 4 * kMaxFontPixels;

void CopyMask(const FT_Bitmap& bitmap, Glyph& glyph) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    if (width <= 0 || rows <= 0 || width > kMaxGlyphSide || rows > kMaxGlyphSide) return;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    glyph.width = width;
    glyph.rows = rows;
    glyph.mask.assign(static_cast<std::size_t>(width) * rows, 0);
    // A negative pitch means the rows are stored bottom first.
    const unsigned char* top =
        bitmap.pitch >= 0 ? bitmap.buffer
                          : bitmap.buffer - static_cast<std::ptrdiff_t>(bitmap.pitch) * (rows - 1);
    for (int r = 0; r < rows; ++r) {
        const unsigned char* row = top + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        for (int c = 0; c < width; ++c) {
            const bool inked = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                   ? (row[c >> 3] & (0x80 >> (c & 7))) != 0
                                   : row[c] >= 128;
            glyph.mask[static_cast<std::size_t>(r) * width + c] = inked ? 1 : 0;
        }
    }
}

// Monochrome glyphs: every pixel of text is exactly the text colour or the
// background colour, as on the rest of the picture.
std::unique_ptr<Font> Rasterise(const FaceFile& file, int pixels) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    std::unique_ptr<Font> font;
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) == 0) {
        if (SetSize(face, pixels)) {
            font = std::make_unique<Font>();
            font->family = file.family;
            font->fixedWidth = FT_IS_FIXED_WIDTH(face);
            font->ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
            font->descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
            if (font->ascent <= 0 || font->descent < 0) {
                font->ascent = pixels;
                font->descent = 0;
            }
            constexpr FT_Int32 kLoad = FT_LOAD_RENDER | FT_LOAD_TARGET_MONO;
            for (int byte = 0; byte < 256; ++byte) {
                Glyph& glyph = font->glyphs[byte];
                const FT_UInt index =
                    FT_Get_Char_Index(face, Cp1252ToUnicode(static_cast<unsigned char>(byte)));
                if (FT_Load_Glyph(face, index, kLoad) != 0 && FT_Load_Glyph(face, 0, kLoad) != 0) {
                    glyph.advance = (pixels + 1) / 2;
                    continue;
                }
                const FT_GlyphSlot slot = face->glyph;
                glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
                glyph.left = slot->bitmap_left;
                glyph.top = slot->bitmap_top;
                CopyMask(slot->bitmap, glyph);
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return font;
}

}  // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TA_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TA_ADDRESS_SANITIZER)
// fontconfig 2.14 loses a few hundred bytes of its parsed configuration on
// first use; without this every sanitized test that draws text would fail.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

std::unique_ptr<Font> MakeFont(const std::string& face, int pixels) {
    if (pixels < 1 || pixels > kMaxFontPixels) return nullptr;
    if (std::unique_ptr<Font> kept = CachedFont(face, pixels)) return kept;
    const std::optional<FaceFile> file = FindFontFile(face, pixels);
    if (!file) return nullptr;
    std::unique_ptr<Font> font = Rasterise(*file, pixels);
    if (font) KeepFont(face, pixels, file->path, *font);
    return font;
}

std::optional<FaceFile> FindFontFile(const std::string& face, int pixels) {
    // Kept from an earlier run: loading fontconfig's configuration costs
    // more than drawing a whole chart.
    if (std::optional<FaceFile> kept = CachedFaceFile(face, pixels)) return kept;
    std::optional<FaceFile> file = FindFace(face, pixels, true, false);
    if (!file) file = FindFace("monospace", pixels, false, true);
    if (file) KeepFaceFile(face, pixels, *file);
    return file;
}

std::unique_ptr<Font> MakeDefaultFont() {
    constexpr int kDefaultPixels = 13;  // a 16-pixel cell, like the desktop's system font
    if (const std::optional<FaceFile> file = FindFace("sans-serif", kDefaultPixels, false, false)) {
        if (std::unique_ptr<Font> font = Rasterise(*file, kDefaultPixels)) return font;
    }
    return raster::MakeBoxFont();
}

}  // namespace platform
