#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/font.h"
#include "platform/surface.h"
#include "raster/draw.h"
#include "support/bitmap.h"

namespace {

using namespace platform;
using raster::Colour;
using raster::RgbColour;

constexpr Colour kBand = RgbColour(0, 100, 150);
constexpr Colour kWhite = RgbColour(255, 255, 255);
constexpr Colour kBlack = RgbColour(0, 0, 0);

// An 8-bit BMP image as the picture builder makes it: palette entry i is
// (i, 255 - i, i / 2) except 240, the band colour; every pixel byte `fill`.
std::vector<std::uint8_t> Bitmap(int width, int height, std::uint8_t fill = 240) {
    return EightBitBitmap(width, height, fill,
                          [](int i) { return i == 240 ? kBand : RgbColour(i, 255 - i, i / 2); });
}

class Surface : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(PictureFromBitmap(1, Bitmap(512, 560))); }
    void TearDown() override { FreeSurface(); }

    const raster::Picture& Pic() const { return *PictureHandle(1); }
    // The pixels that are no longer the band colour.
    std::set<std::pair<int, int>> Changed() const {
        std::set<std::pair<int, int>> changed;
        for (int y = 0; y < Pic().height; ++y)
            for (int x = 0; x < Pic().width; ++x)
                if (Pic().At(x, y) != kBand) changed.insert({x, y});
        return changed;
    }
};

TEST_F(Surface, AFailedRemakeLeavesNoPictureAndAnEmptyHandle) {
    const PictureRef handle = PictureHandle(1);
    ASSERT_NE(BeginDrawing(1), nullptr);
    auto wrongDepth = Bitmap(4, 4);
    wrongDepth[28] = 24;
    EXPECT_FALSE(PictureFromBitmap(1, wrongDepth));
    EXPECT_FALSE(PictureExists(1));
    EXPECT_EQ(PictureHandle(1), nullptr);
    // A control still holding the old handle sees an empty picture.
    EXPECT_EQ(handle->width, 0);
    EXPECT_TRUE(handle->pixels.empty());
    EXPECT_EQ(BeginDrawing(1), nullptr);
    EXPECT_EQ(BeginDrawing(5), nullptr);  // no such picture

    ASSERT_TRUE(PictureFromBitmap(1, Bitmap(512, 560)));
    raster::Picture* target = BeginDrawing(1);
    ASSERT_EQ(target, PictureHandle(1));
    raster::PlotPixel(*target, 1, 1, RgbColour(255, 255, 255));
    EndDrawing();  // the picture keeps what was drawn
    EXPECT_TRUE(Changed() == (std::set<std::pair<int, int>>{{1, 1}}));

    EXPECT_TRUE(ScalePictureToFit(1, 56));
    EXPECT_EQ(Pic().height, 56);
    EXPECT_FALSE(ScalePictureToFit(1, 0));
    EXPECT_FALSE(ScalePictureToFit(5, 56));
}

TEST_F(Surface, TextFallsBackToTheDefaultFontWhenAFontIsMissing) {
    BeginDrawing(1);
    EXPECT_FALSE(LoadFontNumbered(2, "Lucida Console", 0));
    EXPECT_EQ(FontHandle(2), nullptr);
    SetDrawingFont(FontHandle(2));  // keeps the default font
    const raster::Font* standard = &DrawingFont();
    const std::int64_t width = standard->TextWidth("ready");
    EXPECT_GT(width, 0);

    ASSERT_TRUE(LoadFontNumbered(3, "monospace", 30));
    SetDrawingFont(FontHandle(3));
    EXPECT_GT(DrawingFont().TextWidth("ready"), width);
    ASSERT_TRUE(LoadFontNumbered(3, "monospace", 6));  // replacing the font in use
    EXPECT_EQ(&DrawingFont(), standard);
    SetDrawingFont(FontHandle(3));
    EXPECT_LT(DrawingFont().TextWidth("ready"), width);

    const auto unstored = raster::MakeBoxFont();
    SetDrawingFont(unstored.get());  // not a handle of the store: ignored
    EXPECT_LT(DrawingFont().TextWidth("ready"), width);
    SetDrawingFont(kDefaultFont);
    EXPECT_EQ(&DrawingFont(), standard);
}

TEST(Font, LargerSizesGiveLargerGlyphs) {
    const auto small = MakeFont("monospace", 16);
    const auto large = MakeFont("monospace", 32);
    ASSERT_TRUE(small && large);
    EXPECT_GE(small->CellHeight(), 16);
    EXPECT_LE(small->CellHeight(), 24);
    EXPECT_GT(large->For('H').rows, small->For('H').rows);
    EXPECT_EQ(MakeFont("monospace", 0), nullptr);
    EXPECT_EQ(MakeFont("monospace", kMaxFontPixels + 1), nullptr);
}

TEST(Font, MissingFaceGetsAMonospacedStandIn) {
    const auto font = MakeFont("No Such Face At All", 16);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->fixedWidth);
    EXPECT_EQ(font->For('i').advance, font->For('W').advance);
    EXPECT_GT(font->For('i').advance, 0);

    const auto caption = MakeFont("Lucida Console", 16);
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->family == "Lucida Console" || caption->fixedWidth) << caption->family;
}

TEST(Font, BytesAreWindows1252Characters) {
    const auto font = MakeFont("DejaVu Sans Mono", 16);
    ASSERT_NE(font, nullptr);
    const Glyph& a = font->For('a');
    const Glyph& umlaut = font->For('\xE4');  // ä
    const Glyph& euro = font->For('\x80');
    EXPECT_GT(umlaut.rows, a.rows);  // the dots stand above the a
    EXPECT_NE(euro.mask, font->For('\x81').mask);
    const auto& space = font->For(' ').mask;
    EXPECT_EQ(std::count(space.begin(), space.end(), 1), 0);
}

}  // namespace
