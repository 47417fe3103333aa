#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <tuple>
#include <utility>

#include "picture/template.h"
#include "picture_support.h"
#include "raster/bitmap.h"
#include "raster/draw.h"
#include "track/layout.h"

namespace {

using raster::RgbColour;
using trackgen::TrackContents;

std::uint32_t Le32(const picture::Template& t, int at) {
    return t[at] | (t[at + 1] << 8) | (t[at + 2] << 16) | (std::uint32_t{t[at + 3]} << 24);
}

raster::Colour PaletteColour(const picture::Template& t, int entry) {
    const int at = 54 + 4 * entry;
    return RgbColour(t[at + 2], t[at + 1], t[at]);
}

TEST(PictureTemplate, HeaderDescribesA512By560ImageOf8Bits) {
    const picture::Template& t = picture::PictureTemplate();
    ASSERT_EQ(t.size(), 1334u);
    EXPECT_EQ(t[0], 'B');
    EXPECT_EQ(t[1], 'M');
    EXPECT_EQ(Le32(t, 2), 1334u);
    EXPECT_EQ(Le32(t, 10), 1078u);
    EXPECT_EQ(Le32(t, 14), 40u);
    EXPECT_EQ(Le32(t, 18), 512u);
    EXPECT_EQ(Le32(t, 22), 560u);
    EXPECT_EQ(t[26] | (t[27] << 8), 1);
    EXPECT_EQ(t[28] | (t[29] << 8), 8);
    EXPECT_EQ(Le32(t, 30), 0u);
    EXPECT_EQ(Le32(t, 34), 256u);
    EXPECT_EQ(Le32(t, 46), 256u);
    EXPECT_EQ(Le32(t, 50), 256u);
    for (int i = 1078; i < 1334; ++i) ASSERT_EQ(t[i], 240) << i;
    for (int e = 0; e < 256; ++e) ASSERT_EQ(t[54 + 4 * e + 3], 0) << e;
}

TEST(PictureTemplate, PaletteGivesTheTerrainAndBandColours) {
    const picture::Template& t = picture::PictureTemplate();
    // The colour each terrain code shows, as the game's players know it.
    const std::pair<int, raster::Colour> expected[] = {{23, RgbColour(158, 158, 158)},
                                                       {26, RgbColour(179, 179, 179)},
                                                       {42, RgbColour(145, 202, 91)},
                                                       {154, RgbColour(190, 210, 130)},
                                                       {59, RgbColour(160, 135, 110)},
                                                       {83, RgbColour(211, 172, 158)},
                                                       {89, RgbColour(250, 220, 210)},
                                                       {104, RgbColour(245, 250, 255)},
                                                       {100, RgbColour(220, 230, 239)},
                                                       {242, RgbColour(255, 255, 255)},
                                                       {245, RgbColour(255, 255, 0)},
                                                       {244, RgbColour(255, 0, 0)},
                                                       {9, RgbColour(62, 62, 62)},
                                                       {0, RgbColour(0, 0, 0)},
                                                       {240, kBand}};
    for (const auto& [entry, colour] : expected)
        EXPECT_EQ(PaletteColour(t, entry), colour) << entry;
    // Ends of the stretches, and the floor of the grey ramp.
    EXPECT_EQ(PaletteColour(t, 29), RgbColour(200, 200, 200));
    EXPECT_EQ(PaletteColour(t, 1), RgbColour(6, 6, 6));
    EXPECT_EQ(PaletteColour(t, 30), RgbColour(60, 100, 40));
    EXPECT_EQ(PaletteColour(t, 109), RgbColour(255, 250, 245));
    EXPECT_EQ(PaletteColour(t, 119), RgbColour(255, 60, 60));
    EXPECT_EQ(PaletteColour(t, 248), RgbColour(64, 160, 255));
    EXPECT_EQ(PaletteColour(t, 249), RgbColour(91, 173, 255));
    EXPECT_EQ(PaletteColour(t, 255), RgbColour(255, 255, 255));
}

using LandmapPicture = PictureTest;

TEST_F(LandmapPicture, FirstRowLiesAtTheBottomAndRunsCrossRows) {
    TrackContents t;
    t.landmap = {{0x25, 0x01},   // code 5, 18 pixels
                 {0xC2, 0x2B},   // code 2, 700 pixels: to the end of row 511 and 206 into row 510
                 {0x1D, 0x00},   // code 13, 1 pixel
                 {0x1C, 0x00}};  // code 12, 1 pixel
    Build(t);
    EXPECT_EQ(shown.width, 512);
    EXPECT_EQ(shown.height, 560);
    const raster::Colour sand = RgbColour(211, 172, 158);
    const raster::Colour grass = RgbColour(145, 202, 91);
    for (int x = 0; x < 18; ++x) EXPECT_EQ(Pixel(x, 511), sand) << x;
    for (int x = 18; x < 512; ++x) EXPECT_EQ(Pixel(x, 511), grass) << x;
    for (int x = 0; x < 206; ++x) EXPECT_EQ(Pixel(x, 510), grass) << x;
    EXPECT_EQ(Pixel(206, 510), RgbColour(0, 0, 0));
    EXPECT_EQ(Pixel(207, 510), RgbColour(62, 62, 62));
    EXPECT_EQ(Pixel(208, 510), kBand);
    EXPECT_EQ(Pixel(0, 509), kBand);
    EXPECT_EQ(Pixel(0, 0), kBand);
}

TEST_F(LandmapPicture, DecodesNPlusOnePairsAndNoneForANegativeCount) {
    TrackContents t;
    t.landmap = {{0x12, 0x00}, {0x14, 0x00}, {0x19, 0x00}};
    t.landmapCount = 1;  // pairs 0 and 1
    Build(t);
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), RgbColour(160, 135, 110));
    EXPECT_EQ(Pixel(2, 511), kBand);

    t.landmapCount = 0;
    Build(t);
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), kBand);

    t.landmapCount = -1;
    Build(t);
    EXPECT_TRUE(MapPixelsWhere([](raster::Colour c) { return c != kBand; }).empty());
}

TEST_F(LandmapPicture, PixelsBeyondTheMapAreDroppedAndTheBandStays) {
    TrackContents t;
    // 70 runs of 4095 grass pixels: 24,506 more than the map holds.
    t.landmap.assign(70, {0xF2, 0xFF});
    Build(t);
    EXPECT_TRUE(
        MapPixelsWhere([](raster::Colour c) { return c != RgbColour(145, 202, 91); }).empty());
    for (int x = 0; x < 512; ++x) EXPECT_EQ(Pixel(x, 559), kBand) << x;
    for (int y = 512; y < 560; ++y) EXPECT_EQ(Pixel(0, y), kBand) << y;
}

TEST_F(LandmapPicture, RunsOfEveryLengthEachKeepTheirOwnPixels) {
    // Runs of 0 to 150 pixels in turn, so that each short run follows and
    // precedes runs of every kind, up to the last pixel of the map.
    const std::array<raster::Colour, 4> colours = {
        RgbColour(158, 158, 158), RgbColour(179, 179, 179), RgbColour(145, 202, 91),
        RgbColour(190, 210, 130)};
    TrackContents t;
    std::vector<raster::Colour> expected;
    for (unsigned k = 0; expected.size() < 512 * 512; ++k) {
        const unsigned code = k % 4;
        const auto run = static_cast<unsigned>(
            std::min<std::size_t>((k * 37) % 151, 512 * 512 - expected.size()));
        const unsigned value = run << 4 | code;
        t.landmap.push_back(
            {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
        expected.insert(expected.end(), run, colours[code]);
    }
    Build(t);
    for (std::size_t at = 0; at < expected.size(); ++at) {
        const int x = static_cast<int>(at % 512);
        const int y = 511 - static_cast<int>(at / 512);
        ASSERT_EQ(Pixel(x, y), expected[at]) << x << "," << y;
    }
    for (int x = 0; x < 512; ++x) EXPECT_EQ(Pixel(x, 512), kBand) << x;
}

TEST_F(LandmapPicture, CountsBeyondTheFileReadOnlyThePairsInside) {
    TrackContents t;
    t.landmap = {{0x12, 0x00}, {0x13, 0x00}};
    t.landmapCount = 0x7FFFFFFF;
    // A walk over the pairs ends with the file, not after two billion of
    // them; in the sanitizer build a walk that counts on also runs past
    // this test's CTest time-out.
    Build(t);
    const auto size = static_cast<std::int64_t>(parsed->Bytes().size());
    EXPECT_EQ(track::LandmapPairsInside(0x7FFFFFFF, size), (size - 20) / 2);
    EXPECT_EQ(track::LandmapPairsInside(-7, size), 0);
    EXPECT_EQ(Track().landmapCount, 0x7FFFFFFF);
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), RgbColour(190, 210, 130));
}

TEST_F(LandmapPicture, CaptionStaysInTheBandAndShowsTheChosenEntry) {
    TrackContents t;
    t.landmap.assign(65, {0xF2, 0xFF});  // all grass
    t.placeTimes[0] = 5999;
    t.placeNames[0] = "Joe";
    t.carNames = {"Best car", "Joe's car"};
    parsed.emplace(t);
    const picture::Caption caption = picture::CaptionFor(Track(), "monza");
    EXPECT_EQ(caption.pictureName, "monza_5999_Joe");
    EXPECT_EQ(caption.time, "59.99");
    EXPECT_EQ(caption.driverLine, "Joe / Joe's car");
    shown = PictureOf(Track(), "monza");

    EXPECT_TRUE(
        MapPixelsWhere([](raster::Colour c) { return c != RgbColour(145, 202, 91); }).empty());
    int lit = 0;
    for (int y = 512; y < 560; ++y) {
        for (int x = 0; x < 512; ++x) {
            const raster::Colour c = Pixel(x, y);
            if (c == kBand) continue;
            ++lit;
            // White letters blended into the band: never darker than it.
            EXPECT_GE(raster::GreenOf(c), 100);
            EXPECT_GE(raster::BlueOf(c), 150);
            EXPECT_GE(x, 20);
        }
    }
    EXPECT_GT(lit, 100);

    // The same three texts drawn on a bare band give the same pixels.
    std::vector<std::uint8_t> bare(picture::kImageSize, picture::kBackgroundIndex);
    std::copy(picture::PictureTemplate().begin(), picture::PictureTemplate().begin() + 1078,
              bare.begin());
    raster::Picture expected;
    ASSERT_TRUE(raster::DecodeBitmap(bare, expected));
    const raster::Font& font = picture::CaptionFont();
    const raster::Colour white = RgbColour(255, 255, 255);
    raster::DrawText(expected, font, 20, 530, "59.99", white, kBand);
    raster::DrawText(expected, font, 90, 520, "monza", white, kBand);
    raster::DrawText(expected, font, 90, 540, "Joe / Joe's car", white, kBand);
    for (int y = 512; y < 560; ++y) {
        for (int x = 0; x < 512; ++x) ASSERT_EQ(Pixel(x, y), expected.At(x, y)) << x << "," << y;
    }
}

TEST(Caption, FollowsTheTimesAndTheTrackName) {
    const struct {
        std::int16_t best, first;
        const char* time;
        const char* driverLine;
        const char* pictureName;
    } cases[] = {
        {4321, 5432, "54.32", "Joe / Car1", "monza_5432_Joe"},
        {4321, 6000, "43.21", "Ann / Car0", "monza_4321_Ann"},
        {6000, 6000, "60.00", "no Best Time", "monza_6000"},
        {-5, 7000, "-.-5", "Ann / Car0", "monza_-5_Ann"},
        {6000, 999, "9.99", "Joe / Car1", "monza_999_Joe"},
        {6000, 1000, "10.00", "Joe / Car1", "monza_1000_Joe"},
        {6000, 100, "1.00", "Joe / Car1", "monza_100_Joe"},
        {6000, 5999, "59.99", "Joe / Car1", "monza_5999_Joe"},
        {6000, 5, "5.5", "Joe / Car1", "monza_5_Joe"},
        {6000, -1234, "-.34", "Joe / Car1", "monza_-1234_Joe"},
    };
    for (const auto& c : cases) {
        TrackContents t;
        t.bestTime = c.best;
        t.bestName = "Ann";
        t.placeTimes[0] = c.first;
        t.placeNames[0] = "Joe";
        t.carNames = {"Car0", "Car1"};
        const ParsedTrack parsed(t);
        const picture::Caption caption = picture::CaptionFor(*parsed, "monza");
        EXPECT_EQ(caption.time, c.time) << c.best << " " << c.first;
        EXPECT_EQ(caption.driverLine, c.driverLine) << c.best << " " << c.first;
        EXPECT_EQ(caption.pictureName, c.pictureName) << c.best << " " << c.first;
    }
    EXPECT_EQ(picture::TrackName("monza.trk"), "monza");
    EXPECT_EQ(picture::TrackName("K\xF6ln.trk"), "K\xF6ln");
    EXPECT_EQ(picture::TrackName(".trk"), "");
    EXPECT_EQ(picture::TrackName(""), "");
}

}  // namespace
