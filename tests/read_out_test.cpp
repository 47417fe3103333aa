#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "lap/lap.h"
#include "picture/read_out.h"
#include "support/core.h"
#include "support/laps.h"

namespace {

using trackgen::TrackContents;

std::array<std::uint8_t, 2> Pair(int code, int run) {
    const int v = (run << 4) | code;
    return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
}

// Row 0 of the landmap (picture row 511): terrain 3 then 5; rows 1 to 4
// terrain 12; nothing above. Heights 50 but cell 0; water level 30.
TrackContents KnownTrack() {
    TrackContents t;
    t.worldSize = 100;  // large rectangles 31 x 79 half sizes, small 2 x 15
    t.waterLevel = 30;
    t.landmap = {Pair(3, 100), Pair(5, 412), Pair(12, 2048)};
    t.heights.fill(50);
    t.heights[0] = 10;
    t.heights[64 + 1] = 30;  // equal to the level: dry
    t.objects = {
        {10, 100, 6, 0},    // tree at pixel (50, 508)
        {17, 400, 422, 0},  // building centred at (200, 300), front to the right
        {2, 520, 422, 61},  // red cone at (260, 300), on top of the building
        {42, 40, 40, 0},    // a type the overlay does not draw
    };
    return t;
}

class ReadOut : public ::testing::Test {
  protected:
    void SetUp() override { parsed.emplace(KnownTrack()); }
    picture::PointInfo InfoAt(int x, int y) const { return picture::InfoAt(**parsed, x, y); }
    std::string ReadOutAt(int x, int y) const { return picture::ReadOutText(InfoAt(x, y)); }

    std::optional<ParsedTrack> parsed;
};

TEST_F(ReadOut, NamesPositionTerrainHeightAndObject) {
    EXPECT_EQ(ReadOutAt(50, 508),
              "picture 50, 508 \xB7 track 100, 6 \xB7 terrain 12 (62, 62, 62)\r\n"
              "height 50, dry (level 30) \xB7 tree (10), heading 0");
    EXPECT_EQ(ReadOutAt(3, 511),
              "picture 3, 511 \xB7 track 6, 0 \xB7 terrain 3 (190, 210, 130)\r\n"
              "height 10, under water (level 30)");
}

TEST_F(ReadOut, TerrainFollowsTheRunsAcrossRows) {
    EXPECT_EQ(InfoAt(99, 511).terrain, 3);
    EXPECT_EQ(InfoAt(100, 511).terrain, 5);
    EXPECT_EQ(InfoAt(100, 511).red, 211);
    EXPECT_EQ(InfoAt(511, 511).terrain, 5);
    EXPECT_EQ(InfoAt(0, 510).terrain, 12);
    EXPECT_EQ(InfoAt(511, 507).terrain, 12);
    EXPECT_EQ(InfoAt(0, 506).terrain, -1);  // the runs end here
    EXPECT_NE(ReadOutAt(0, 506).find("no terrain"), std::string::npos);
}

TEST_F(ReadOut, HeightCellsAndTheWaterLevel) {
    EXPECT_EQ(InfoAt(7, 504).height, 10);  // cell 0: bottom-left 8 x 8
    EXPECT_EQ(InfoAt(8, 504).height, 50);
    EXPECT_EQ(InfoAt(7, 503).height, 50);
    EXPECT_EQ(InfoAt(8, 503).height, 30);  // cell 65
    EXPECT_NE(ReadOutAt(8, 503).find("height 30, dry (level 30)"), std::string::npos);
}

TEST_F(ReadOut, TheObjectOnTopIsNamed) {
    EXPECT_EQ(InfoAt(51, 509).objectType, 10);
    EXPECT_EQ(InfoAt(52, 508).objectType, -1);
    // The building spans 79 along its heading (to the right) and 31 across.
    EXPECT_EQ(InfoAt(279, 300).objectType, 17);
    EXPECT_EQ(InfoAt(200, 331).objectType, 17);
    EXPECT_EQ(InfoAt(200, 333).objectType, -1);
    EXPECT_EQ(InfoAt(281, 300).objectType, -1);
    // The cone, heading 61 (pointing down), is drawn after the building.
    EXPECT_EQ(InfoAt(260, 314).objectType, 2);
    EXPECT_EQ(InfoAt(260, 314).heading, 61);
    EXPECT_EQ(InfoAt(265, 300).objectType, 17);
    EXPECT_EQ(InfoAt(20, 491).objectType, -1);  // type 42 is not drawn
}

TEST_F(ReadOut, EmptyOffTheMapAndForARefusedFile) {
    EXPECT_EQ(ReadOutAt(10, 512), "");  // the caption band
    EXPECT_EQ(ReadOutAt(-1, 10), "");
    EXPECT_EQ(ReadOutAt(512, 10), "");
    EXPECT_NE(ReadOutAt(511, 0), "");
    TrackContents refused = KnownTrack();
    refused.version = 260;
    parsed.emplace(refused);
    EXPECT_EQ(ReadOutAt(10, 10), "");
}

TEST_F(ReadOut, ADamagedTrackReadsOnlyWhatTheFileHolds) {
    TrackContents t = KnownTrack();
    t.landmapCount = 400'000;  // height map and objects far beyond the end
    parsed.emplace(t);
    ASSERT_TRUE((*parsed)->damaged);
    const picture::PointInfo info = InfoAt(50, 508);
    EXPECT_TRUE(info.valid);
    EXPECT_EQ(info.height, -1);
    EXPECT_EQ(info.objectType, -1);
    EXPECT_NE(ReadOutAt(50, 508).find("no height"), std::string::npos);
}

TEST_F(ReadOut, WorldSizeZeroLeavesTheRectanglesOut) {
    TrackContents t = KnownTrack();
    t.worldSize = 0;
    parsed.emplace(t);
    EXPECT_EQ(InfoAt(279, 300).objectType, -1);
    EXPECT_EQ(InfoAt(51, 509).objectType, 10);
}

TEST(GhostReadOut, NamesTheNearestFrameWithinReach) {
    // 300 units/s but up the right side at 100: frame 5, 5 s into the lap.
    const ParsedTrack parsed(LapTrack(kSlowSideSquare));
    const lap::Sample s = lap::ReadLap(*parsed)->samples[5];
    EXPECT_EQ(picture::GhostReadOutText(*parsed, s.column + 2, s.row),
              "ghost frame 5 \xB7 5.00 s into the lap \xB7 100 units/s, 33% of top");
    EXPECT_EQ(picture::GhostReadOutText(*parsed, s.column + 30, s.row), "");
    EXPECT_EQ(
        picture::GhostReadOutText(*ParsedTrack(LapTrack(kSlowSideSquare, 6000)), s.column, s.row),
        "");
}

}  // namespace
