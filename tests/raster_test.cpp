#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/font.h"
#include "raster/bitmap.h"
#include "raster/draw.h"
#include "raster/scaling.h"
#include "support/bitmap.h"

namespace {

using namespace raster;

constexpr Colour kBand = RgbColour(0, 100, 150);
constexpr Colour kWhite = RgbColour(255, 255, 255);
constexpr Colour kBlack = RgbColour(0, 0, 0);

__extension__ typedef __int128 Wide;

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An 8-bit BMP image as the picture builder makes it: palette entry i is
// (i, 255 - i, i / 2) except 240, the band colour; every pixel byte `fill`.
std::vector<std::uint8_t> Bitmap(int width, int height, std::uint8_t fill = 240) {
    return EightBitBitmap(width, height, fill,
                          [](int i) { return i == 240 ? kBand : RgbColour(i, 255 - i, i / 2); });
}

// A picture of the band colour, as the picture builder starts one.
class Raster : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(DecodeBitmap(Bitmap(512, 560), pic)); }

    // The pixels that are no longer the band colour.
    std::set<std::pair<int, int>> Changed() const {
        std::set<std::pair<int, int>> changed;
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
                if (pic.At(x, y) != kBand) changed.insert({x, y});
        return changed;
    }
    static std::set<std::pair<int, int>> Box(int x0, int y0, int x1, int y1) {
        std::set<std::pair<int, int>> box;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) box.insert({x, y});
        return box;
    }

    Picture pic;
};

TEST_F(Raster, TemplateImageGivesTrueColourPictureStoredBottomUp) {
    EXPECT_EQ(pic.width, 512);
    EXPECT_EQ(pic.height, 560);
    EXPECT_TRUE(Changed().empty());

    auto image = Bitmap(5, 3, 7);  // stride 8: rows carry 3 filler bytes
    image[1078 + 0 * 8 + 4] = 9;   // stored row 0 is the bottom row
    image[1078 + 2 * 8 + 0] = 200;
    Picture p;
    ASSERT_TRUE(DecodeBitmap(image, p));
    EXPECT_EQ(p.At(4, 2), RgbColour(9, 246, 4));
    EXPECT_EQ(p.At(0, 0), RgbColour(200, 55, 100));
    EXPECT_EQ(p.At(1, 1), RgbColour(7, 248, 3));

    auto topDown = Bitmap(5, -3, 7);
    topDown[1078 + 4] = 9;
    ASSERT_TRUE(DecodeBitmap(topDown, p));  // into the same picture
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.At(4, 0), RgbColour(9, 246, 4));
}

TEST_F(Raster, UnreadableImagesMakeNoPicture) {
    auto wrongDepth = Bitmap(4, 4);
    wrongDepth[28] = 24;
    auto compressed = Bitmap(4, 4);
    compressed[30] = 1;
    auto truncated = Bitmap(512, 560);
    truncated.pop_back();
    auto huge = Bitmap(4, 4);
    Put32(huge, 18, 0x7FFFFFFF);
    auto zeroWidth = Bitmap(4, 4);
    Put32(zeroWidth, 18, 0);
    auto notBmp = Bitmap(4, 4);
    notBmp[1] = 'X';
    auto tableOutside = Bitmap(4, 4);
    Put32(tableOutside, 14, 0xFFFFFFF0);

    for (const auto& image : {wrongDepth, compressed, truncated, huge, zeroWidth, notBmp,
                              tableOutside, std::vector<std::uint8_t>(20, 'B')}) {
        ASSERT_TRUE(DecodeBitmap(Bitmap(512, 560), pic));
        EXPECT_FALSE(DecodeBitmap(image, pic));
        EXPECT_EQ(pic.width, 0);
        EXPECT_TRUE(pic.pixels.empty());
    }
}

TEST_F(Raster, BoxesAndPixelsAreClippedToThePicture) {
    FillBox(pic, 504, 504, 8, 8, kWhite);
    EXPECT_EQ(Changed(), Box(504, 504, 511, 511));
    FillBox(pic, 504, 504, 8, 8, kBand);

    FillBox(pic, -2, -2, 5, 5, kWhite);
    EXPECT_EQ(Changed(), Box(0, 0, 2, 2));
    FillBox(pic, 0, 0, 3, 3, kBand);

    FillBox(pic, 510, 558, INT_MAX, INT_MAX, kWhite);
    EXPECT_EQ(Changed(), Box(510, 558, 511, 559));
    FillBox(pic, 510, 558, 2, 2, kBand);

    FillBox(pic, 10, 10, 0, 5, kWhite);
    FillBox(pic, 10, 10, 5, -1, kWhite);
    PlotPixel(pic, -1, 0, kWhite);
    PlotPixel(pic, 512, 0, kWhite);
    PlotPixel(pic, 0, 560, kWhite);
    EXPECT_TRUE(Changed().empty());
    FillBox(pic, 7, 9, 1, 1, kWhite);
    PlotPixel(pic, 511, 559, kWhite);
    EXPECT_EQ(Changed(), (std::set<std::pair<int, int>>{{7, 9}, {511, 559}}));
}

TEST_F(Raster, LinesSetBothEndsAndOnePixelPerStep) {
    DrawLine(pic, 0, 0, 3, 0, kWhite);
    EXPECT_EQ(Changed(), Box(0, 0, 3, 0));
    DrawLine(pic, 0, 0, 3, 0, kBand);
    DrawLine(pic, 5, 5, 5, 5, kWhite);
    EXPECT_EQ(Changed(), Box(5, 5, 5, 5));
    PlotPixel(pic, 5, 5, kBand);

    for (const auto [x1, y1, x2, y2] : {std::array{10, 10, 47, 23}, std::array{100, 90, 91, 20},
                                        std::array{300, 300, 250, 310}}) {
        DrawLine(pic, x1, y1, x2, y2, kWhite);
        const auto line = Changed();
        EXPECT_EQ(line.size(),
                  static_cast<std::size_t>(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1));
        EXPECT_TRUE(line.count({x1, y1}) && line.count({x2, y2}));
        for (const auto& [x, y] : line) {  // each pixel is within half a pixel of the ideal line
            const double cross =
                static_cast<double>(x - x1) * (y2 - y1) - static_cast<double>(y - y1) * (x2 - x1);
            EXPECT_LE(std::abs(cross), 0.5 * std::max(std::abs(x2 - x1), std::abs(y2 - y1)));
        }
        DrawLine(pic, x1, y1, x2, y2, kBand);
    }
}

// Walking these ends pixel by pixel takes billions of steps: the test's own
// CTest time-out (tests/CMakeLists.txt) turns such a walk into a failure.
TEST_F(Raster, FarOffLineEndsAreClippedWithoutWalkingThem) {
    DrawLine(pic, INT_MIN, 7, INT_MAX, 7, kWhite);
    EXPECT_EQ(Changed(), Box(0, 7, 511, 7));
    DrawLine(pic, 0, 7, 511, 7, kBand);

    DrawLine(pic, -1000000000, -1000000000, 1000000000, 1000000000, kWhite);
    std::set<std::pair<int, int>> diagonal;
    for (int i = 0; i < 512; ++i) diagonal.insert({i, i});
    EXPECT_EQ(Changed(), diagonal);
}

TEST_F(Raster, ClippedLinesKeepTheNearestPixelOfTheIdealLine) {
    // Far-off and slanted ends, in all four directions and both major axes:
    // the pixels inside must be those of the whole line, halves rounded up.
    const std::array<std::array<int, 4>, 10> lines = {{{-1000000007, 3, 999999999, 400},
                                                       {-100, -50, 700, 300},
                                                       {700, 620, -100, 100},
                                                       {999999999, 400, -1000000007, 3},
                                                       {5, INT_MIN, 300, INT_MAX},
                                                       {300, INT_MAX, 5, INT_MIN},
                                                       {-700, 555, 900, -20},
                                                       {17, -3000, 480, 9000},
                                                       {0, 0, 511, 1},
                                                       {511, 558, 0, 0}}};
    for (const auto& [x1, y1, x2, y2] : lines) {
        DrawLine(pic, x1, y1, x2, y2, kWhite);
        const std::int64_t dx = std::int64_t{x2} - x1, dy = std::int64_t{y2} - y1;
        const bool alongX = std::llabs(dx) >= std::llabs(dy);
        const std::int64_t major1 = alongX ? x1 : y1, minor1 = alongX ? y1 : x1;
        const std::int64_t majorDelta = alongX ? dx : dy, minorDelta = alongX ? dy : dx;
        const std::int64_t steps = std::llabs(majorDelta);
        std::set<std::pair<int, int>> expected;
        for (int m = 0; m < (alongX ? 512 : 560); ++m) {
            const std::int64_t i = (m - major1) * (majorDelta < 0 ? -1 : 1);
            if (i < 0 || i > steps) continue;
            const Wide num = Wide{2} * i * minorDelta + steps;
            const Wide den = Wide{2} * steps;
            const std::int64_t offset =
                static_cast<std::int64_t>(num / den - (num % den != 0 && num < 0 ? 1 : 0));
            const std::int64_t minor = minor1 + offset;
            const std::int64_t x = alongX ? m : minor, y = alongX ? minor : m;
            if (x >= 0 && x < 512 && y >= 0 && y < 560) expected.insert({int(x), int(y)});
        }
        EXPECT_EQ(Changed(), expected) << x1 << "," << y1 << " to " << x2 << "," << y2;
        DrawLine(pic, x1, y1, x2, y2, kBand);
    }
}

TEST_F(Raster, FloodFillStaysInsideASlantedOutline) {
    const Colour grey = RgbColour(170, 170, 170);
    const Colour red = RgbColour(255, 0, 0);
    // A diamond: every side steps diagonally.
    DrawLine(pic, 100, 50, 150, 100, grey);
    DrawLine(pic, 150, 100, 100, 150, grey);
    DrawLine(pic, 100, 150, 50, 100, grey);
    DrawLine(pic, 50, 100, 100, 50, grey);
    // Spots of the fill colour inside do not stop the fill.
    FillBox(pic, 98, 98, 5, 5, red);
    const auto outline = Changed();

    FloodFill(pic, 100, 50, grey, red);  // on the border: nothing
    EXPECT_EQ(Changed(), outline);

    FloodFill(pic, 100, 80, grey, red);
    for (int y = 0; y < 560; ++y) {
        for (int x = 0; x < 512; ++x) {
            const int d = std::abs(x - 100) + std::abs(y - 100);
            const Colour c = pic.At(x, y);
            if (d > 50) {
                EXPECT_EQ(c, kBand) << x << "," << y;
            } else if (d < 49) {
                EXPECT_EQ(c, red) << x << "," << y;
            }
        }
    }

    FloodFill(pic, -1, 0, grey, red);
    FloodFill(pic, 0, 560, grey, red);
    EXPECT_EQ(pic.At(0, 0), kBand);
    FloodFill(pic, 0, 0, grey, kWhite);  // the outside area reaches every edge
    EXPECT_EQ(pic.At(511, 559), kWhite);
    EXPECT_EQ(pic.At(100, 100), red);
}

// Fills keep their marks between calls; a mark left by an earlier fill, on
// this picture or on one of another size, must not stop a later one.
TEST_F(Raster, EveryFillReachesItsWholeAreaHoweverManyCameBefore) {
    const Colour grey = RgbColour(170, 170, 170);
    DrawLine(pic, 10, 10, 60, 10, grey);
    DrawLine(pic, 60, 10, 60, 60, grey);
    DrawLine(pic, 60, 60, 10, 60, grey);
    DrawLine(pic, 10, 60, 10, 10, grey);
    // What the fills reached since a mark: inside the square, not outside.
    const FillMark before = CurrentFillMark(pic);
    EXPECT_FALSE(FilledSince(pic, before, 30, 30));
    FloodFill(pic, 30, 30, grey, RgbColour(255, 0, 0));
    const FillMark after = CurrentFillMark(pic);
    EXPECT_TRUE(FilledSince(pic, before, 11, 59));
    EXPECT_FALSE(FilledSince(pic, before, 5, 5));
    EXPECT_FALSE(FilledSince(pic, before, 10, 30));  // the border itself
    EXPECT_FALSE(FilledSince(pic, after, 30, 30));
    EXPECT_FALSE(FilledSince(pic, before, -1, 30));
    for (int k = 0; k < 600; ++k) {
        const Colour fill = k % 2 == 0 ? RgbColour(255, 0, 0) : RgbColour(0, 0, 255);
        FloodFill(pic, 30, 30, grey, fill);
        ASSERT_EQ(pic.At(11, 11), fill) << "fill " << k;
        ASSERT_EQ(pic.At(59, 59), fill) << "fill " << k;
        ASSERT_EQ(pic.At(5, 5), kBand) << "fill " << k;
    }

    Picture small;
    ASSERT_TRUE(DecodeBitmap(Bitmap(64, 32), small));
    // Fills on the first picture say nothing about this one.
    EXPECT_FALSE(FilledSince(small, after, 30, 30));
    FloodFill(small, 0, 0, grey, kWhite);
    for (const Colour c : small.pixels) ASSERT_EQ(c, kWhite);
    // Nor about the first picture once it has another size.
    ASSERT_TRUE(DecodeBitmap(Bitmap(512, 559), pic));
    EXPECT_FALSE(FilledSince(pic, after, 11, 59));
}

TEST_F(Raster, TextFillsItsCellsAndInksGlyphsInTheTextColour) {
    const auto font = platform::MakeFont("Lucida Console", 16);
    ASSERT_NE(font, nullptr);

    FillBox(pic, 0, 512, 512, 48, kBlack);
    const int right = DrawText(pic, *font, 20, 520, "Jan 59.99 \xE4", kWhite, kBand);
    EXPECT_EQ(right, 20 + font->TextWidth("Jan 59.99 \xE4"));
    EXPECT_GT(right, 20 + 8 * 11);
    bool inked = false;
    for (int y = 520; y < 520 + font->CellHeight(); ++y) {
        for (int x = 20; x < right; ++x) {
            const Colour c = pic.At(x, y);
            EXPECT_TRUE(c == kWhite || c == kBand) << x << "," << y;
            inked = inked || c == kWhite;
        }
    }
    EXPECT_TRUE(inked);
    EXPECT_EQ(pic.At(19, 525), kBlack);
    EXPECT_EQ(pic.At(right, 525), kBlack);

    // White on the band colour leaves only the glyphs.
    FillBox(pic, 0, 512, 512, 48, kBand);
    DrawText(pic, *font, 90, 540, "Joe / Car1", kWhite, kBand);
    for (const auto& [x, y] : Changed()) EXPECT_EQ(pic.At(x, y), kWhite);
    EXPECT_FALSE(Changed().empty());

    EXPECT_EQ(DrawText(pic, *font, 90, 520, "", kWhite, kBlack), 90);
    DrawText(pic, *font, 500, 550, "cut off at the edges", kWhite, kBlack);
    for (int y = 550; y < 560; ++y)
        for (int x = 500; x < 512; ++x)
            EXPECT_TRUE(pic.At(x, y) == kWhite || pic.At(x, y) == kBlack);
}

TEST(Font, SizesFollowPointsAtNinetySixDotsPerInch) {
    EXPECT_EQ(PointsToPixels(12), 16);
    EXPECT_EQ(PointsToPixels(9), 12);
    EXPECT_EQ(PointsToPixels(10), 13);  // 13.33
    EXPECT_EQ(PointsToPixels(-12), -16);
}

TEST(Font, BoxFontDrawsEveryCharacterAsAnEightPixelCell) {
    const auto font = MakeBoxFont();
    EXPECT_EQ(font->TextWidth("abc"), 24);
    EXPECT_EQ(font->CellHeight(), 16);
    EXPECT_TRUE(font->For('x').Inked(0, 0));
    EXPECT_FALSE(font->For('x').Inked(2, 2));
    EXPECT_TRUE(font->For(' ').mask.empty());
}

TEST(Scaling, FitsTheLongerSideAndKeepsColoursInRange) {
    Picture picture;
    picture.width = 512;
    picture.height = 560;
    picture.pixels.assign(512 * 560, RgbColour(255, 0, 0));
    for (int y = 280; y < 560; ++y)
        for (int x = 0; x < 512; ++x) picture.pixels[y * 512 + x] = RgbColour(0, 0, 255);
    const auto small = ScaledToFit(picture, 56);
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(small->width, 51);
    EXPECT_EQ(small->height, 56);
    EXPECT_EQ(small->At(25, 5), RgbColour(255, 0, 0));
    EXPECT_EQ(small->At(25, 50), RgbColour(0, 0, 255));
    for (Colour c : small->pixels) EXPECT_EQ(c & ~0xFFFFFF, 0);

    const auto tiny = ScaledToFit(picture, 1);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(tiny->width, 1);
    EXPECT_EQ(tiny->height, 1);
    EXPECT_FALSE(ScaledToFit(Picture{}, 10).has_value());
    EXPECT_FALSE(ScaledToFit(picture, 0).has_value());
    EXPECT_FALSE(ScaledToFit(picture, kMaxScaledSide + 1).has_value());
}

TEST(Scaling, ShrunkPixelsAverageTheBlocksTheyCover) {
    // Each pixel the rounded average of its block, channel by channel, no
    // channel spilling into another: blocks small enough to be summed
    // packed (two by two; a thumbnail's), wide blocks of few rows, and
    // blocks of more rows than a packed half holds.
    struct Case {
        int width, height, side, smallWidth, smallHeight;
    };
    for (const Case& c : {Case{4, 6, 3, 2, 3}, Case{512, 560, 128, 117, 128},
                          Case{300, 200, 3, 3, 2}, Case{3, 700, 2, 1, 2}}) {
        Picture picture;
        picture.width = c.width;
        picture.height = c.height;
        for (int k = 0; k < c.width * c.height; ++k)
            picture.pixels.push_back(
                RgbColour((k * 37) % 256, 255 - k % 256, k % 2 == 0 ? 255 : 0));
        const auto small = ShrunkToFit(picture, c.side);
        ASSERT_TRUE(small.has_value()) << c.width;
        ASSERT_EQ(std::pair(small->width, small->height), std::pair(c.smallWidth, c.smallHeight));
        for (int y = 0; y < small->height; ++y) {
            for (int x = 0; x < small->width; ++x) {
                const int left = x * c.width / small->width;
                const int right = (x + 1) * c.width / small->width;
                const int top = y * c.height / small->height;
                const int bottom = (y + 1) * c.height / small->height;
                std::int64_t sums[3] = {0, 0, 0};
                for (int sy = top; sy < bottom; ++sy) {
                    for (int sx = left; sx < right; ++sx) {
                        const Colour p = picture.At(sx, sy);
                        sums[0] += RedOf(p);
                        sums[1] += GreenOf(p);
                        sums[2] += BlueOf(p);
                    }
                }
                const std::int64_t area = std::int64_t{right - left} * (bottom - top);
                const auto average = [&](int k) {
                    return static_cast<int>((sums[k] + area / 2) / area);
                };
                ASSERT_EQ(small->At(x, y), RgbColour(average(0), average(1), average(2)))
                    << c.width << " " << x << "," << y;
            }
        }
    }
}

}  // namespace
