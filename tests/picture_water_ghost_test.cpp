#include <gtest/gtest.h>

#include <set>

#include "picture/colours.h"
#include "picture_support.h"
#include "trackgen/track_writer.h"

namespace {

using raster::Colour;
using raster::RgbColour;
using trackgen::GhostFrame;
using trackgen::TrackContents;

const Colour kWater = RgbColour(0, 64, 255);
const Colour kGhost = RgbColour(0, 0, 255);

std::set<std::pair<int, int>> Square(int x0, int y0, int size) {
    std::set<std::pair<int, int>> s;
    for (int y = y0; y < y0 + size; ++y) {
        for (int x = x0; x < x0 + size; ++x) s.insert({x, y});
    }
    return s;
}

std::set<std::pair<int, int>> AsSet(const std::vector<std::pair<int, int>>& v) {
    return {v.begin(), v.end()};
}

using WaterOverlay = PictureTest;

TEST_F(WaterOverlay, CellsBelowTheLevelBecomeSquares) {
    TrackContents t;
    t.heights.fill(50);
    t.waterLevel = 50;  // equal is dry
    t.heights[0] = 49;
    t.heights[64] = 0;
    t.heights[4095] = 10;
    Build(t);
    picture::DrawWater(shown, Track());
    std::set<std::pair<int, int>> expected = Square(0, 504, 8);
    expected.merge(Square(0, 496, 8));
    expected.merge(Square(504, 0, 8));
    EXPECT_EQ(AsSet(MapPixelsWhere([](Colour c) { return c == kWater; })), expected);
}

TEST_F(WaterOverlay, AllLowCoversTheMapButNotTheBand) {
    TrackContents t;
    t.waterLevel = 1;
    Build(t);
    picture::DrawWater(shown, Track());
    EXPECT_TRUE(MapPixelsWhere([](Colour c) { return c != kWater; }).empty());
    for (int x = 0; x < 512; ++x) EXPECT_EQ(Pixel(x, 512), kBand) << x;
}

TEST_F(WaterOverlay, HeightMapPartlyBeyondTheFileDrawsTheCellsInside) {
    TrackContents t;
    t.waterLevel = 255;
    std::vector<std::uint8_t> bytes = trackgen::WriteTrack(t);
    // Put the height map's start about 64 bytes before the end: the unread
    // zero bytes at the trailer's end and the ghost length lie inside.
    const auto n = static_cast<std::int32_t>((bytes.size() - 64 - 22) / 2);
    if (bytes.size() % 2 != 0) bytes.push_back(0);
    for (int i = 0; i < 4; ++i) bytes[16 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    parsed.emplace(bytes);
    ASSERT_FALSE(Track().Refused());
    EXPECT_TRUE(Track().damaged);
    shown = PictureOf(Track());
    picture::DrawWater(shown, Track());
    const auto water = AsSet(MapPixelsWhere([](Colour c) { return c == kWater; }));
    const auto inside = static_cast<int>(bytes.size() - (22 + 2 * std::int64_t{n}));
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i < inside; ++i) expected.merge(Square(8 * (i % 64), 504 - 8 * (i / 64), 8));
    EXPECT_GE(inside, 64);
    EXPECT_EQ(water, expected);
}

class GhostOverlay : public PictureTest {
  protected:
    void Draw(std::vector<GhostFrame> frames, std::int16_t placeTime = 5999,
              std::uint8_t worldSize = 100) {
        TrackContents t;
        t.worldSize = worldSize;
        t.placeTimes[0] = placeTime;
        t.ghost = std::move(frames);
        Build(t);
        drawn = picture::DrawGhost(shown, Track());
    }
    std::set<std::pair<int, int>> Dots() const {
        return AsSet(MapPixelsWhere([](Colour c) { return c == kGhost; }));
    }
    bool drawn = false;
};

TEST_F(GhostOverlay, RoundsToTheNearestPixelAndKeepsTheMargin) {
    // World size 100: 29.5 units a pixel. 7375 units are pixel 250 (row 261).
    Draw({{14, 1475},        // column 0: out
          {15, 2950},        // 0.51: column 1, row 411
          {44, 4425},        // 1.49: column 1, row 361
          {15059, 5900},     // column 510, row 311
          {15060, 7375},     // column 511: out
          {7375, 15059},     // row 1
          {7375, 15060},     // row 0: out
          {7375, 0},         // row 511: out
          {0xFFFF, 7375}});  // far beyond the map
    std::set<std::pair<int, int>> expected = Square(0, 410, 3);
    expected.merge(Square(0, 360, 3));
    expected.merge(Square(509, 310, 3));
    expected.merge(Square(249, 0, 3));
    EXPECT_EQ(Dots(), expected);
    EXPECT_FLOAT_EQ(picture::GhostScale(100), 29.5f);
    EXPECT_FLOAT_EQ(picture::GhostScale(20), 5.9f);
}

TEST_F(GhostOverlay, NoTimeForPlaceOneMeansNoGhost) {
    Draw({{7375, 7375}}, 6000);
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(Dots().empty());

    Draw({{7375, 7375}}, -1);
    EXPECT_TRUE(drawn);
    EXPECT_EQ(Dots(), Square(249, 260, 3));
}

TEST_F(GhostOverlay, WorldSizeZeroDrawsNothing) {
    Draw({{0, 0}, {7375, 7375}}, 100, 0);
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(Dots().empty());
}

TEST_F(GhostOverlay, FramesBeyondTheFileAreSkipped) {
    TrackContents t;
    t.placeTimes[0] = 100;
    t.ghost = {{2950, 2950}, {5900, 5900}};
    t.ghostLength = 32767;  // 16,383 frames claimed
    Build(t);
    picture::DrawGhost(shown, Track());
    std::set<std::pair<int, int>> expected = Square(99, 410, 3);
    expected.merge(Square(199, 310, 3));
    EXPECT_EQ(Dots(), expected);
}

TEST_F(GhostOverlay, SpeedLineRunsFromSlowToFastColoursWithItsKey) {
    // At world size 100 two pixels are 59 units: three steps of 4 pixels,
    // then three of 20, along row 261.
    TrackContents t;
    t.placeTimes[0] = 600;
    for (const int x : {100, 104, 108, 112, 132, 152, 172})
        t.ghost.push_back({static_cast<std::uint16_t>(x * 59 / 2), 7375});
    Build(t);
    const raster::Picture before = shown;
    ASSERT_TRUE(picture::DrawGhostSpeed(shown, Track(), picture::CaptionFont()));
    const Colour slow = picture::kSpeedScale.front();
    const Colour fast = picture::kSpeedScale.back();
    for (const int row : {260, 261, 262}) {
        EXPECT_EQ(Pixel(106, row), slow) << row;
        EXPECT_EQ(Pixel(160, row), fast) << row;
    }
    EXPECT_EQ(Pixel(160, 264), before.At(160, 264));
    // The key: the scale's ends under "slow" and "fast", written in white.
    EXPECT_EQ(Pixel(404, 544), slow);
    EXPECT_EQ(Pixel(503, 544), fast);
    EXPECT_EQ(picture::SpeedColour(0.5), picture::kSpeedScale[5]);
    int white = 0;
    for (int y = 512; y < 540; ++y) {
        for (int x = 404; x < 504; ++x) white += Pixel(x, y) == RgbColour(255, 255, 255);
    }
    EXPECT_GT(white, 20);

    // Without a lap nothing is drawn, not even the key.
    t.placeTimes[0] = 6000;
    Build(t);
    const raster::Picture plain = shown;
    EXPECT_FALSE(picture::DrawGhostSpeed(shown, Track(), picture::CaptionFont()));
    EXPECT_EQ(shown.pixels, plain.pixels);
}

}  // namespace
