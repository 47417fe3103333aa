#include "platform/surface.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/encoding.h"
#include "platform/font.h"
#include "platform/scaling.h"

namespace platform {

namespace {

// A picture number keeps its Picture object until FreeSurface, even while it
// has no picture: the picture control holds a handle, and a failed remake must
// leave that handle naming an empty picture, not freed memory.
struct PictureSlot {
    Picture picture;
    bool present = false;
};

std::map<int, std::unique_ptr<PictureSlot>> pictures;
std::map<int, std::unique_ptr<Font>> fonts;
std::unique_ptr<Font> defaultFont;

struct Drawing {
    bool open = false;
    Picture* target = nullptr;
    const Font* font = nullptr;  // nullptr: the default font
};
Drawing drawing;

constexpr Colour kRgbMask = 0xFFFFFF;

// Images larger than this are not something the tool ever makes.
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

std::optional<std::uint32_t> U32(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::optional<std::uint16_t> U16(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 2) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// std::fill stores one value at a time at -O2; the spans filled here (flood
// fills, boxes) are long enough that sixteen bytes a store pay.
template <typename T>
void FillWide(T* first, const T* last, T value) {
    constexpr std::size_t kPerStore = 16 / sizeof(T);
    std::array<T, kPerStore> wide;
    wide.fill(value);
    for (; static_cast<std::size_t>(last - first) >= kPerStore; first += kPerStore)
        std::memcpy(first, wide.data(), sizeof wide);
    for (; first != last; ++first) *first = value;
}

// Decodes into `picture`, reusing its pixel memory: a picture remade for
// every track of a batch then costs no fresh megabyte to clear each time.
bool DecodeBitmap(std::span<const std::uint8_t> image, Picture& picture) {
    if (image.size() < 54 || image[0] != 'B' || image[1] != 'M') return false;
    const auto pixelOffset = U32(image, 10);
    const auto headerSize = U32(image, 14);
    const auto width = U32(image, 18);
    const auto height = U32(image, 22);
    const auto bitsPerPixel = U16(image, 28);
    const auto compression = U32(image, 30);
    const auto coloursUsed = U32(image, 46);
    if (!pixelOffset || !headerSize || !width || !height || !bitsPerPixel || !compression ||
        !coloursUsed)
        return false;
    if (*headerSize < 40 || *bitsPerPixel != 8 || *compression != 0) return false;

    const std::int64_t w = static_cast<std::int32_t>(*width);
    const std::int64_t signedHeight = static_cast<std::int32_t>(*height);
    const bool bottomUp = signedHeight > 0;
    const std::int64_t h = bottomUp ? signedHeight : -signedHeight;
    if (w <= 0 || h <= 0 || w * h > kMaxPixels) return false;

    const std::int64_t entries =
        *coloursUsed == 0 ? 256 : std::min<std::int64_t>(*coloursUsed, 256);
    const std::int64_t tableAt = 14 + static_cast<std::int64_t>(*headerSize);
    const std::int64_t stride = (w + 3) / 4 * 4;
    const auto size = static_cast<std::int64_t>(image.size());
    if (tableAt + 4 * entries > size) return false;
    if (*pixelOffset > static_cast<std::uint64_t>(size) || stride * h > size - *pixelOffset)
        return false;

    std::array<Colour, 256> palette{};  // entries past the table stay black
    for (std::int64_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = &image[static_cast<std::size_t>(tableAt + 4 * i)];
        palette[static_cast<std::size_t>(i)] = RgbColour(entry[2], entry[1], entry[0]);
    }

    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    picture.pixels.resize(static_cast<std::size_t>(w * h));
    for (std::int64_t y = 0; y < h; ++y) {
        const std::int64_t stored = bottomUp ? h - 1 - y : y;
        const std::uint8_t* row = &image[static_cast<std::size_t>(*pixelOffset + stored * stride)];
        Colour* out = &picture.pixels[static_cast<std::size_t>(y * w)];
        // Four at a time: this lookup is a good part of drawing each track.
        std::int64_t x = 0;
        for (; x + 4 <= w; x += 4) {
            out[x] = palette[row[x]];
            out[x + 1] = palette[row[x + 1]];
            out[x + 2] = palette[row[x + 2]];
            out[x + 3] = palette[row[x + 3]];
        }
        for (; x < w; ++x) out[x] = palette[row[x]];
    }
    return true;
}

// Which fill last reached each pixel, for FilledSince, told apart by a round
// number, so that a fill need not first clear a mark for every pixel of the
// picture. The epoch changes whenever the marks are cleared, which makes
// every FillMark taken before then stale.
struct FillMarks {
    const Picture* picture = nullptr;
    std::vector<std::uint16_t> reached;
    std::uint16_t round = 0;
    std::uint32_t epoch = 0;
};
FillMarks fillMarks;

void StartFillMarks(const Picture& picture) {
    fillMarks.picture = &picture;
    fillMarks.reached.assign(picture.pixels.size(), 0);
    fillMarks.round = 0;
    ++fillMarks.epoch;
}

// Marks for `picture`, made afresh when they were another picture's.
void TakeFillMarksFor(const Picture& picture) {
    if (fillMarks.picture != &picture || fillMarks.reached.size() != picture.pixels.size())
        StartFillMarks(picture);
}

std::uint16_t NextFillRound(const Picture& picture) {
    TakeFillMarksFor(picture);
    if (fillMarks.round == UINT16_MAX) StartFillMarks(picture);
    return ++fillMarks.round;
}

bool CanDraw() {
    return drawing.open && drawing.target && drawing.target->width > 0;
}

void Put(std::int64_t x, std::int64_t y, Colour colour) {
    Picture& p = *drawing.target;
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour & kRgbMask;
}

void Fill(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, Colour colour) {
    Picture& p = *drawing.target;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + width, p.width);
    const std::int64_t bottom = std::min<std::int64_t>(y + height, p.height);
    if (left >= right) return;
    for (std::int64_t row = top; row < bottom; ++row) {
        Colour* const line = &p.pixels[static_cast<std::size_t>(row * p.width)];
        FillWide(line + left, line + right, colour & kRgbMask);
    }
}

const Font& CurrentFont() {
    if (drawing.font) return *drawing.font;
    if (!defaultFont) defaultFont = MakeDefaultFont();
    return *defaultFont;
}

bool IsStoredFont(FontRef font) {
    return std::any_of(fonts.begin(), fonts.end(),
                       [font](const auto& entry) { return entry.second.get() == font; });
}

// __extension__ (quiet under -Wpedantic) takes a typedef, not an alias.
__extension__ typedef __int128 Wide;  // NOLINT(modernize-use-using)

// floor(numerator / denominator) for a positive denominator.
std::int64_t FloorDiv(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) --q;
    return static_cast<std::int64_t>(q);
}

}  // namespace

bool PictureFromBitmap(int number, std::span<const std::uint8_t> image) {
    auto& slot = pictures[number];
    if (!slot) slot = std::make_unique<PictureSlot>();
    slot->present = false;
    if (!DecodeBitmap(image, slot->picture)) {
        slot->picture = Picture{};
        return false;
    }
    slot->present = true;
    return true;
}

bool ScalePictureToFit(int number, int side) {
    const auto it = pictures.find(number);
    if (it == pictures.end() || !it->second->present || side < 1 || side > kMaxScaledSide)
        return false;
    Picture& picture = it->second->picture;
    std::optional<Picture> scaled = ScaledToFit(picture, side);
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
    std::unique_ptr<Font> font = MakeFont(PathFromText(face), PointsToPixels(points));
    if (!font) return false;
    fonts[number] = std::move(font);
    return true;
}

FontRef FontHandle(int number) {
    const auto it = fonts.find(number);
    return it == fonts.end() ? nullptr : it->second.get();
}

void BeginDrawing(int pictureNumber) {
    EndDrawing();
    drawing.open = true;
    const auto it = pictures.find(pictureNumber);
    if (it != pictures.end() && it->second->present) drawing.target = &it->second->picture;
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

int DrawTextAt(int x, int y, const std::string& text, Colour textColour, Colour background) {
    if (!CanDraw() || text.empty()) return x;
    const Font& font = CurrentFont();
    const std::int64_t width = font.TextWidth(text);
    // The whole line's cells first, so that a glyph reaching into the next
    // cell is not painted over by that cell's background.
    Fill(x, y, width, font.CellHeight(), background);
    std::int64_t pen = x;
    const std::int64_t baseline = static_cast<std::int64_t>(y) + font.ascent;
    for (char c : text) {
        const Glyph& glyph = font.For(c);
        for (int r = 0; r < glyph.rows; ++r) {
            for (int col = 0; col < glyph.width; ++col) {
                if (glyph.Inked(col, r))
                    Put(pen + glyph.left + col, baseline - glyph.top + r, textColour);
            }
        }
        pen += glyph.advance;
    }
    return static_cast<int>(std::clamp<std::int64_t>(pen, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

void FillBox(int x, int y, int width, int height, Colour colour) {
    if (!CanDraw() || width < 1 || height < 1) return;
    Fill(x, y, width, height, colour);
}

void PlotPixel(int x, int y, Colour colour) {
    if (CanDraw()) Put(x, y, colour);
}

void DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
    if (!CanDraw()) return;
    const Picture& p = *drawing.target;
    const std::int64_t dx = static_cast<std::int64_t>(x2) - x1;
    const std::int64_t dy = static_cast<std::int64_t>(y2) - y1;
    const bool alongX = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    // Step i along the longer axis from point 1; the other coordinate is the
    // nearest one to the ideal line (halves round up). Only the steps whose
    // major coordinate lies in the picture are visited, so far-off end points
    // cost nothing.
    const std::int64_t major1 = alongX ? x1 : y1;
    const std::int64_t minor1 = alongX ? y1 : x1;
    const std::int64_t majorDelta = alongX ? dx : dy;
    const std::int64_t minorDelta = alongX ? dy : dx;
    const std::int64_t steps = majorDelta < 0 ? -majorDelta : majorDelta;
    const std::int64_t direction = majorDelta < 0 ? -1 : 1;
    const std::int64_t limit = alongX ? p.width : p.height;

    // Steps i with 0 <= major1 + direction * i < limit.
    std::int64_t first = direction > 0 ? -major1 : major1 - (limit - 1);
    std::int64_t last = direction > 0 ? limit - 1 - major1 : major1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps);
    if (first > last) return;
    // The offset of step i is floor((2 i minorDelta + steps) / (2 steps)).
    // Only the first step takes a wide division; from there the quotient and
    // remainder are carried along, since a division per pixel made long
    // outlines (thousands of objects) the slowest drawing there was.
    const std::int64_t denominator = steps == 0 ? 1 : 2 * steps;
    const Wide numerator = Wide{2} * first * minorDelta + steps;
    std::int64_t offset = steps == 0 ? 0 : FloorDiv(numerator, denominator);
    std::int64_t remainder =
        steps == 0 ? 0 : static_cast<std::int64_t>(numerator - Wide{offset} * denominator);
    // |minorDelta| <= steps, so the step of the quotient is -1, 0 or 1.
    const std::int64_t offsetStep = steps == 0 ? 0 : FloorDiv(Wide{2} * minorDelta, denominator);
    const std::int64_t remainderStep = 2 * minorDelta - offsetStep * denominator;
    // The major coordinate stays inside for every step walked; the minor one
    // only moves one way, so once it has left the picture it stays out.
    Picture& target = *drawing.target;
    const std::int64_t minorLimit = alongX ? target.height : target.width;
    const std::int64_t majorStride = alongX ? 1 : target.width;
    const std::int64_t minorStride = alongX ? target.width : 1;
    const Colour rgb = colour & kRgbMask;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = major1 + direction * i;
        const std::int64_t minor = minor1 + offset;
        if (minor < 0) {
            if (minorDelta <= 0) break;
        } else if (minor >= minorLimit) {
            if (minorDelta >= 0) break;
        } else {
            target.pixels[static_cast<std::size_t>(major * majorStride + minor * minorStride)] =
                rgb;
        }
        offset += offsetStep;
        remainder += remainderStep;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
}

FillMark CurrentFillMark() {
    if (CanDraw()) TakeFillMarksFor(*drawing.target);
    return {fillMarks.epoch, fillMarks.round};
}

bool FilledSince(FillMark mark, int x, int y) {
    if (!CanDraw() || mark.epoch != fillMarks.epoch || fillMarks.picture != drawing.target)
        return false;
    const Picture& p = *drawing.target;
    if (x < 0 || y < 0 || x >= p.width || y >= p.height ||
        fillMarks.reached.size() != p.pixels.size())
        return false;
    return fillMarks.reached[static_cast<std::size_t>(y) * p.width + x] > mark.round;
}

void FloodFill(int x, int y, Colour border, Colour fill) {
    if (!CanDraw()) return;
    Picture& p = *drawing.target;
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    border &= kRgbMask;
    fill &= kRgbMask;
    const auto width = static_cast<std::size_t>(p.width);
    Colour* const pixels = p.pixels.data();
    if (pixels[static_cast<std::size_t>(y) * width + x] == border) return;

    // Reached pixels first take a value no colour has, and the fill colour
    // only at the end: pixels already of the fill colour are crossed like any
    // other, so the reached area does not depend on what was painted before.
    constexpr Colour kReached = ~kRgbMask;
    const auto open = [&](std::size_t at) {
        return pixels[at] != border && pixels[at] != kReached;
    };
    struct Span {
        std::size_t row, left, right;
    };
    // Kept between fills: thousands of halls each fill a few rows.
    static std::vector<std::pair<int, int>> pending;
    static std::vector<Span> spans;
    pending.assign(1, {x, y});
    spans.clear();
    while (!pending.empty()) {
        const auto [sx, sy] = pending.back();
        pending.pop_back();
        const std::size_t row = static_cast<std::size_t>(sy) * width;
        if (!open(row + sx)) continue;
        std::size_t left = sx;
        while (left > 0 && open(row + left - 1)) --left;
        std::size_t right = sx;
        while (right + 1 < width && open(row + right + 1)) ++right;
        FillWide(pixels + row + left, pixels + row + right + 1, kReached);
        spans.push_back({row, left, right});
        for (const int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= p.height) continue;
            const std::size_t next = static_cast<std::size_t>(ny) * width;
            // One seed for each open stretch of the neighbouring row.
            bool previousOpen = false;
            for (std::size_t cx = left; cx <= right; ++cx) {
                const bool isOpen = open(next + cx);
                if (isOpen && !previousOpen) pending.emplace_back(static_cast<int>(cx), ny);
                previousOpen = isOpen;
            }
        }
    }
    const std::uint16_t round = NextFillRound(p);
    std::uint16_t* const reached = fillMarks.reached.data();
    for (const Span& span : spans) {
        FillWide(pixels + span.row + span.left, pixels + span.row + span.right + 1, fill);
        FillWide(reached + span.row + span.left, reached + span.row + span.right + 1, round);
    }
}

void FreeSurface() {
    EndDrawing();
    fillMarks = FillMarks{nullptr, {}, 0, fillMarks.epoch + 1};
    pictures.clear();
    fonts.clear();
    defaultFont.reset();
}

}  // namespace platform
