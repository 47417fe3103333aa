#include "platform/surface.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/encoding.h"
#include "platform/font.h"
#include "raster/bitmap.h"
#include "raster/scaling.h"

namespace platform {

namespace {

// A picture number keeps its Picture object until FreeSurface, even while it
// has no picture: the picture control holds a handle, and a failed remake must
// leave that handle naming an empty picture, not freed memory.
struct PictureSlot {
    raster::Picture picture;
    bool present = false;
};

std::map<int, std::unique_ptr<PictureSlot>> pictures;
std::map<int, std::unique_ptr<raster::Font>> fonts;
std::unique_ptr<raster::Font> defaultFont;

struct Drawing {
    bool open = false;
    raster::Picture* target = nullptr;
    const raster::Font* font = nullptr;  // nullptr: the default font
};
Drawing drawing;

bool IsStoredFont(FontRef font) {
    return std::any_of(fonts.begin(), fonts.end(),
                       [font](const auto& entry) { return entry.second.get() == font; });
}

}  // namespace

bool PictureFromBitmap(int number, std::span<const std::uint8_t> image) {
    auto& slot = pictures[number];
    if (!slot) slot = std::make_unique<PictureSlot>();
    slot->present = raster::DecodeBitmap(image, slot->picture);
    if (!slot->present && drawing.target == &slot->picture) drawing.target = nullptr;
    return slot->present;
}

bool ScalePictureToFit(int number, int side) {
    const auto it = pictures.find(number);
    if (it == pictures.end() || !it->second->present) return false;
    raster::Picture& picture = it->second->picture;
    std::optional<raster::Picture> scaled = raster::ScaledToFit(picture, side);
    if (!scaled) return false;
    picture = std::move(*scaled);
    return true;
}

bool PictureExists(int number) {
    return PictureHandle(number) != nullptr;
}

PictureRef PictureHandle(int number) {
    const auto it = pictures.find(number);
    return it != pictures.end() && it->second->present ? &it->second->picture : nullptr;
}

bool LoadFontNumbered(int number, const std::string& face, int points) {
    if (const auto it = fonts.find(number); it != fonts.end()) {
        if (drawing.font == it->second.get()) drawing.font = nullptr;
        fonts.erase(it);
    }
    std::unique_ptr<raster::Font> font =
        MakeFont(PathFromText(face), raster::PointsToPixels(points));
    if (!font) return false;
    fonts[number] = std::move(font);
    return true;
}

FontRef FontHandle(int number) {
    const auto it = fonts.find(number);
    return it == fonts.end() ? nullptr : it->second.get();
}

raster::Picture* BeginDrawing(int pictureNumber) {
    EndDrawing();
    drawing.open = true;
    const auto it = pictures.find(pictureNumber);
    if (it != pictures.end() && it->second->present) drawing.target = &it->second->picture;
    return drawing.target;
}

void EndDrawing() {
    drawing = Drawing{};
}

void SetDrawingFont(FontRef font) {
    if (!drawing.open) return;
    if (font == kDefaultFont) {
        drawing.font = nullptr;
    } else if (font && IsStoredFont(font)) {
        drawing.font = font;
    }
}

const raster::Font& DrawingFont() {
    if (drawing.font) return *drawing.font;
    if (!defaultFont) defaultFont = MakeDefaultFont();
    return *defaultFont;
}

void FreeSurface() {
    EndDrawing();
    pictures.clear();
    fonts.clear();
    defaultFont.reset();
}

}  // namespace platform
