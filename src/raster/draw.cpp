#include "raster/draw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace raster {
namespace {

constexpr Colour kRgbMask = 0xFFFFFF;

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

void Put(Picture& p, std::int64_t x, std::int64_t y, Colour colour) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour & kRgbMask;
}

void Fill(Picture& p, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
          Colour colour) {
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

// __extension__ (quiet under -Wpedantic) takes a typedef, not an alias.
__extension__ typedef __int128 Wide;  // NOLINT(modernize-use-using)

// floor(numerator / denominator) for a positive denominator.
std::int64_t FloorDiv(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) --q;
    return static_cast<std::int64_t>(q);
}

// Which fill last reached each pixel, told apart by a round number, so that
// a fill need not first clear a mark for every pixel of the picture. The
// epoch changes whenever the marks are cleared, which makes every FillMark
// taken before then stale.
void StartFillMarks(Picture& picture) {
    FillScratch& s = picture.fills;
    s.reached.assign(picture.pixels.size(), 0);
    s.round = 0;
    ++s.epoch;
}

void TakeFillMarks(Picture& picture) {
    if (picture.fills.reached.size() != picture.pixels.size()) StartFillMarks(picture);
}

std::uint16_t NextFillRound(Picture& picture) {
    TakeFillMarks(picture);
    if (picture.fills.round == UINT16_MAX) StartFillMarks(picture);
    return ++picture.fills.round;
}

}  // namespace

void FillBox(Picture& picture, int x, int y, int width, int height, Colour colour) {
    if (width < 1 || height < 1) return;
    Fill(picture, x, y, width, height, colour);
}

void PlotPixel(Picture& picture, int x, int y, Colour colour) {
    Put(picture, x, y, colour);
}

void DrawLine(Picture& picture, int x1, int y1, int x2, int y2, Colour colour) {
    Picture& p = picture;
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
    const std::int64_t minorLimit = alongX ? p.height : p.width;
    const std::int64_t majorStride = alongX ? 1 : p.width;
    const std::int64_t minorStride = alongX ? p.width : 1;
    const Colour rgb = colour & kRgbMask;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = major1 + direction * i;
        const std::int64_t minor = minor1 + offset;
        if (minor < 0) {
            if (minorDelta <= 0) break;
        } else if (minor >= minorLimit) {
            if (minorDelta >= 0) break;
        } else {
            p.pixels[static_cast<std::size_t>(major * majorStride + minor * minorStride)] = rgb;
        }
        offset += offsetStep;
        remainder += remainderStep;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
}

FillMark CurrentFillMark(Picture& picture) {
    TakeFillMarks(picture);
    return {picture.fills.epoch, picture.fills.round};
}

bool FilledSince(const Picture& picture, FillMark mark, int x, int y) {
    const FillScratch& s = picture.fills;
    if (mark.epoch != s.epoch || x < 0 || y < 0 || x >= picture.width || y >= picture.height ||
        s.reached.size() != picture.pixels.size())
        return false;
    return s.reached[static_cast<std::size_t>(y) * picture.width + x] > mark.round;
}

void FloodFill(Picture& picture, int x, int y, Colour border, Colour fill) {
    Picture& p = picture;
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
    // Kept with the picture: thousands of halls each fill a few rows.
    std::vector<std::pair<int, int>>& pending = p.fills.pending;
    std::vector<FillScratch::Span>& spans = p.fills.spans;
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
    std::uint16_t* const reached = p.fills.reached.data();
    for (const FillScratch::Span& span : spans) {
        FillWide(pixels + span.row + span.left, pixels + span.row + span.right + 1, fill);
        FillWide(reached + span.row + span.left, reached + span.row + span.right + 1, round);
    }
}

int DrawText(Picture& picture, const Font& font, int x, int y, std::string_view text,
             Colour textColour, Colour background) {
    if (text.empty()) return x;
    const std::int64_t width = font.TextWidth(text);
    // The whole line's cells first, so that a glyph reaching into the next
    // cell is not painted over by that cell's background.
    Fill(picture, x, y, width, font.CellHeight(), background);
    std::int64_t pen = x;
    const std::int64_t baseline = static_cast<std::int64_t>(y) + font.ascent;
    for (char c : text) {
        const Glyph& glyph = font.For(c);
        for (int r = 0; r < glyph.rows; ++r) {
            for (int col = 0; col < glyph.width; ++col) {
                if (glyph.Inked(col, r))
                    Put(picture, pen + glyph.left + col, baseline - glyph.top + r, textColour);
            }
        }
        pen += glyph.advance;
    }
    return static_cast<int>(std::clamp<std::int64_t>(pen, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace raster
