#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <tuple>
#include <utility>

#include "picture/template.h"
#include "picture_support.h"
#include "track/layout.h"

namespace {

using platform::RgbColour;
using trackgen::TrackContents;

std::uint32_t Le32(const picture::Template& t, int at) {
    return t[at] | (t[at + 1] << 8) | (t[at + 2] << 16) | (std::uint32_t{t[at + 3]} << 24);
}

platform::Colour PaletteColour(const picture::Template& t, int entry) {
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
    const std::pair<int, platform::Colour> expected[] = {{23, RgbColour(158, 158, 158)},
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
    Load(WriteTrack("rows.trk", t));
    ASSERT_TRUE(platform::PictureExists(picture::kTrackPicture));
    const platform::Picture& p = Shown();
    EXPECT_EQ(p.width, 512);
    EXPECT_EQ(p.height, 560);
    const platform::Colour sand = RgbColour(211, 172, 158);
    const platform::Colour grass = RgbColour(145, 202, 91);
    for (int x = 0; x < 18; ++x) EXPECT_EQ(Pixel(x, 511), sand) << x;
    for (int x = 18; x < 512; ++x) EXPECT_EQ(Pixel(x, 511), grass) << x;
    for (int x = 0; x < 206; ++x) EXPECT_EQ(Pixel(x, 510), grass) << x;
    EXPECT_EQ(Pixel(206, 510), RgbColour(0, 0, 0));
    EXPECT_EQ(Pixel(207, 510), RgbColour(62, 62, 62));
    EXPECT_EQ(Pixel(208, 510), kBand);
    EXPECT_EQ(Pixel(0, 509), kBand);
    EXPECT_EQ(Pixel(0, 0), kBand);
    EXPECT_EQ(app::state.LandmapSize, 3);
    EXPECT_EQ(ui.pictures[picture::kPictureControl],
              platform::PictureHandle(picture::kTrackPicture));
}

TEST_F(LandmapPicture, DecodesNPlusOnePairsAndNoneForANegativeCount) {
    TrackContents t;
    t.landmap = {{0x12, 0x00}, {0x14, 0x00}, {0x19, 0x00}};
    t.landmapCount = 1;  // pairs 0 and 1
    Load(WriteTrack("two.trk", t));
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), RgbColour(160, 135, 110));
    EXPECT_EQ(Pixel(2, 511), kBand);

    t.landmapCount = 0;
    Load(WriteTrack("one.trk", t));
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), kBand);

    t.landmapCount = -1;
    Load(WriteTrack("none.trk", t));
    EXPECT_TRUE(MapPixelsWhere([](platform::Colour c) { return c != kBand; }).empty());
    EXPECT_EQ(app::state.LandmapSize, -1);
}

TEST_F(LandmapPicture, PixelsBeyondTheMapAreDroppedAndTheBandStays) {
    TrackContents t;
    // 70 runs of 4095 grass pixels: 24,506 more than the map holds.
    t.landmap.assign(70, {0xF2, 0xFF});
    Load(WriteTrack("over.trk", t));
    EXPECT_TRUE(
        MapPixelsWhere([](platform::Colour c) { return c != RgbColour(145, 202, 91); }).empty());
    for (int x = 0; x < 512; ++x) EXPECT_EQ(Pixel(x, 559), kBand) << x;
    for (int y = 512; y < 560; ++y) EXPECT_EQ(Pixel(0, y), kBand) << y;
}

TEST_F(LandmapPicture, RunsOfEveryLengthEachKeepTheirOwnPixels) {
    // Runs of 0 to 150 pixels in turn, so that each short run follows and
    // precedes runs of every kind, up to the last pixel of the map.
    const std::array<platform::Colour, 4> colours = {
        RgbColour(158, 158, 158), RgbColour(179, 179, 179), RgbColour(145, 202, 91),
        RgbColour(190, 210, 130)};
    TrackContents t;
    std::vector<platform::Colour> expected;
    for (unsigned k = 0; expected.size() < 512 * 512; ++k) {
        const unsigned code = k % 4;
        const auto run = static_cast<unsigned>(
            std::min<std::size_t>((k * 37) % 151, 512 * 512 - expected.size()));
        const unsigned value = run << 4 | code;
        t.landmap.push_back(
            {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
        expected.insert(expected.end(), run, colours[code]);
    }
    Load(WriteTrack("runs.trk", t));
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
    const std::string path = WriteTrack("huge.trk", t);
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    EXPECT_EQ(track::LandmapPairsInside(0x7FFFFFFF, size), (size - 20) / 2);
    EXPECT_EQ(track::LandmapPairsInside(-7, size), 0);
    Load(path);
    EXPECT_EQ(app::state.LandmapSize, 0x7FFFFFFF);
    EXPECT_EQ(Pixel(0, 511), RgbColour(145, 202, 91));
    EXPECT_EQ(Pixel(1, 511), RgbColour(190, 210, 130));
}

// The caption band with only `texts` drawn on it, as the caption draws them.
platform::Picture BareBand(const std::vector<std::tuple<int, int, std::string>>& texts) {
    std::vector<std::uint8_t> bare(picture::kImageSize, picture::kBackgroundIndex);
    std::copy(picture::PictureTemplate().begin(), picture::PictureTemplate().begin() + 1078,
              bare.begin());
    EXPECT_TRUE(platform::PictureFromBitmap(2, bare));
    platform::BeginDrawing(2);
    platform::SetDrawingFont(platform::FontHandle(picture::kCaptionFont));
    for (const auto& [x, y, text] : texts)
        platform::DrawTextAt(x, y, text, RgbColour(255, 255, 255), kBand);
    platform::EndDrawing();
    return *platform::PictureHandle(2);
}

TEST_F(LandmapPicture, CaptionStaysInTheBandAndShowsTheChosenEntry) {
    TrackContents t;
    t.landmap.assign(65, {0xF2, 0xFF});  // all grass
    t.placeTimes[0] = 5999;
    t.placeNames[0] = "Joe";
    t.carNames = {"Best car", "Joe's car"};
    Load(WriteTrack("monza.trk", t));
    EXPECT_EQ(app::state.PictureName, "monza_5999_Joe");
    EXPECT_EQ(NewestStatusLine(), "monza_5999_Joe");

    EXPECT_TRUE(
        MapPixelsWhere([](platform::Colour c) { return c != RgbColour(145, 202, 91); }).empty());
    const platform::Picture built = Shown();
    int lit = 0;
    for (int y = 512; y < 560; ++y) {
        for (int x = 0; x < 512; ++x) {
            const platform::Colour c = built.At(x, y);
            if (c == kBand) continue;
            ++lit;
            // White letters blended into the band: never darker than it.
            EXPECT_GE(platform::GreenOf(c), 100);
            EXPECT_GE(platform::BlueOf(c), 150);
            EXPECT_GE(x, 20);
        }
    }
    if (platform::FontHandle(picture::kCaptionFont) != nullptr) {
        EXPECT_GT(lit, 100);
    }

    // The same three texts drawn on a bare band give the same pixels.
    const platform::Picture expected =
        BareBand({{20, 530, "59.99"}, {90, 520, "monza"}, {90, 540, "Joe / Joe's car"}});
    for (int y = 512; y < 560; ++y) {
        for (int x = 0; x < 512; ++x) ASSERT_EQ(built.At(x, y), expected.At(x, y)) << x << "," << y;
    }
}

// The time text at its edges: two digits before the point from 1000 on,
// the last two after it, and short or negative texts taken as they come.
TEST_F(LandmapPicture, CaptionTimeTextAtItsEdges) {
    const std::pair<std::int16_t, const char*> times[] = {
        {999, "9.99"}, {1000, "10.00"}, {100, "1.00"},  {5999, "59.99"},
        {5, "5.5"},    {-5, "-.-5"},    {-1234, "-.34"}};
    for (const auto& [time, text] : times) {
        TrackContents t;
        t.landmap.assign(65, {0xF2, 0xFF});
        t.placeTimes[0] = time;
        Load(WriteTrack("t.trk", t));
        const platform::Picture built = Shown();
        const platform::Picture expected = BareBand({{20, 530, text}});
        // Left of the track name, which starts at x 90.
        int differing = 0;
        for (int y = 512; y < 560; ++y)
            for (int x = 0; x < 90; ++x) differing += built.At(x, y) != expected.At(x, y);
        EXPECT_EQ(differing, 0) << time << " as " << text;
    }
}

TEST_F(LandmapPicture, PictureNameFollowsTheTimesAndTheFileName) {
    TrackContents t;
    t.bestTime = 4321;
    t.bestName = "Ann";
    t.placeNames[0] = "Joe";
    Load(WriteTrack("monza.trk", t));
    EXPECT_EQ(app::state.PictureName, "monza_4321_Ann");

    t.bestTime = 6000;
    Load(WriteTrack("K\xC3\xB6ln.trk", t));  // UTF-8 on disk, Windows-1252 in the name
    EXPECT_EQ(app::state.PictureName, "K\xF6ln_6000");

    t.bestTime = -5;
    Load(WriteTrack("a.trk", t));
    EXPECT_EQ(app::state.PictureName, "a_-5_Ann");

    // A cancelled dialog keeps the track in the buffer but not its path.
    Load("");
    EXPECT_EQ(app::state.PictureName, "_-5_Ann");
    EXPECT_EQ(NewestStatusLine(), "_-5_Ann");
}

TEST_F(LandmapPicture, NewBuildRemovesTheOverlays) {
    TrackContents t;
    t.heights.fill(0);
    t.waterLevel = 1;
    const std::string path = WriteTrack("lake.trk", t);
    Load(path);
    const platform::Picture bare = Shown();
    picture::DrawWaterOverlay();
    EXPECT_NE(Shown().pixels, bare.pixels);
    Load(path);
    EXPECT_EQ(Shown().pixels, bare.pixels);
}

}  // namespace
