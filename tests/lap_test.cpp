#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lap/lap.h"
#include "support/core.h"
#include "support/laps.h"

namespace {

using trackgen::GhostFrame;
using trackgen::TrackContents;

struct LapCase {
    std::string name;
    std::vector<GhostFrame> frames;
    double length, average;
    std::array<double, 3> sectors;
    double topSpeed;
    int topFrame;
    int slowestFrame;  // -1: none
};

TEST(Lap, HandWorkedLaps) {
    const std::vector<LapCase> cases = {
        {"straight at constant speed",
         Walk({1000, 5000}, {{100, 0, 10}}),
         1000,
         100,
         {10.0 / 3, 10.0 / 3, 10.0 / 3},
         100,
         0,
         -1},
        {"square with one slow side",
         kSlowSideSquare,
         4800,
         200,
         {8, 32.0 / 3, 16.0 / 3},
         300,
         0,
         5},
    };
    for (const LapCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedTrack parsed(LapTrack(c.frames));
        const std::optional<lap::Lap> lap = lap::ReadLap(*parsed);
        ASSERT_TRUE(lap);
        EXPECT_TRUE(lap->Whole());
        EXPECT_DOUBLE_EQ(lap->frameStep, 1.0);
        EXPECT_DOUBLE_EQ(lap->Length(), c.length);
        const lap::Summary s = lap::Summarise(*lap);
        EXPECT_DOUBLE_EQ(s.averageSpeed, c.average);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(s.sectors[i], c.sectors[i], 1e-9) << i;
        EXPECT_DOUBLE_EQ(s.top.speed, c.topSpeed);
        EXPECT_EQ(s.top.frame, c.topFrame);
        EXPECT_EQ(s.slowest ? s.slowest->frame : -1, c.slowestFrame);
    }
}

TEST(Lap, FramesCarryTimeDistanceSpeedAndTheOverlaysPixel) {
    // 5 frames over 2.00 s: half a second apart.
    const ParsedTrack parsed(
        LapTrack({{1000, 5000}, {1030, 5040}, {1030, 5040}, {1000, 5000}, {15060, 0}}, 200));
    const lap::Lap lap = *lap::ReadLap(*parsed);
    EXPECT_DOUBLE_EQ(lap.frameStep, 0.5);
    const lap::Sample& s = lap.samples[1];
    EXPECT_DOUBLE_EQ(s.time, 0.5);
    EXPECT_DOUBLE_EQ(s.distance, 50);
    EXPECT_DOUBLE_EQ(s.speed, 100);
    EXPECT_DOUBLE_EQ(lap.samples[0].speed, 100);  // frame 0 takes frame 1's
    EXPECT_DOUBLE_EQ(lap.samples[2].speed, 0);
    EXPECT_DOUBLE_EQ(lap.samples[3].distance, 100);
    // 1000 / 29.5 = 33.9; 5000 / 29.5 = 169.5 (169.49): row 511 - 169.
    EXPECT_EQ(lap.samples[0].column, 34);
    EXPECT_EQ(lap.samples[0].row, 342);
    EXPECT_EQ(lap.samples[4].column, 511);
    EXPECT_EQ(lap.samples[4].row, 511);
}

TEST(Lap, TracksWithoutALap) {
    struct NoLap {
        std::string name;
        TrackContents track;
    };
    TrackContents oneFrame = LapTrack({{10, 10}});
    oneFrame.placeTimes[0] = 500;
    TrackContents cut = LapTrack({{10, 10}});
    cut.ghostLength = 200;  // 100 frames claimed, the file ends after one
    const std::vector<NoLap> cases = {
        {"no time for place 1", LapTrack(kFastSquare, 6000)},
        {"a time of 0", LapTrack(kFastSquare, 0)},
        {"a negative time", LapTrack(kFastSquare, -5)},
        {"one frame", oneFrame},
        {"one frame inside the file", cut},
    };
    for (const NoLap& c : cases) {
        const ParsedTrack parsed(c.track);
        EXPECT_FALSE(lap::ReadLap(*parsed)) << c.name;
    }
    TrackContents longer = LapTrack(kFastSquare);
    longer.ghostLength = 40;  // 20 frames claimed, 17 inside
    const ParsedTrack parsed(longer);
    const std::optional<lap::Lap> partial = lap::ReadLap(*parsed);
    ASSERT_TRUE(partial);
    EXPECT_FALSE(partial->Whole());
    EXPECT_EQ(partial->samples.size(), 17u);
    EXPECT_DOUBLE_EQ(partial->frameStep, 1600 / 100.0 / 19);
}

TEST(Lap, SameMapMeansSameWorldSizeLandmapAndHeights) {
    TrackContents a = LapTrack(kFastSquare);
    a.landmap = {{0x13, 0x01}, {0x25, 0x02}};
    a.heights[100] = 7;
    TrackContents otherLap = LapTrack(kSlowSideSquare);
    otherLap.landmap = a.landmap;
    otherLap.heights = a.heights;
    otherLap.placeNames[0] = "Bruno";
    TrackContents size = a, terrain = a, height = a;
    size.worldSize = 101;
    terrain.landmap[1][0] = 0x24;
    height.heights[4095] = 1;
    const ParsedTrack base(a);
    EXPECT_TRUE(lap::SameMap(*base, *ParsedTrack(otherLap)));
    for (const TrackContents& other : {size, terrain, height})
        EXPECT_FALSE(lap::SameMap(*base, *ParsedTrack(other)));
}

TEST(Lap, ALapAlignedWithItselfHasNoGap) {
    const ParsedTrack parsed(LapTrack(kSlowSideSquare));
    const lap::Lap lap = *lap::ReadLap(*parsed);
    const std::vector<lap::AlignedRow> rows = lap::Align(lap, lap);
    ASSERT_EQ(rows.size(), lap.samples.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_DOUBLE_EQ(rows[i].distance, lap.samples[i].distance);
        EXPECT_NEAR(rows[i].gap, 0, 1e-9) << i;
        EXPECT_NEAR(rows[i].speedB, rows[i].speedA, 1e-9) << i;
    }
    EXPECT_TRUE(lap::LosingStretches(rows, 3).empty());
}

TEST(Lap, ASlowerLineBesideTheFirstLosesItsTimeOnTheSlowSide) {
    const ParsedTrack fast(LapTrack(kFastSquare));
    // B drives 20 units off A's line, and slowly up the right side.
    std::vector<GhostFrame> beside = kSlowSideSquare;
    for (GhostFrame& f : beside) f.y = static_cast<std::uint16_t>(f.y + 20);
    const ParsedTrack slow(LapTrack(beside));
    const lap::Lap a = *lap::ReadLap(*fast);
    const lap::Lap b = *lap::ReadLap(*slow);
    const std::vector<lap::AlignedRow> rows = lap::Align(a, b);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_NEAR(rows[4].gap, 0, 0.1);  // the bottom side, at the same speed
    EXPECT_NEAR(rows[8].gap, 8, 0.1);  // up the right side: 12 s, not 4
    EXPECT_NEAR(rows[6].speedB, 100, 1e-9);
    EXPECT_NEAR(rows[12].gap, 8, 0.1);
    EXPECT_DOUBLE_EQ(rows.back().gap, 24.0 - 16.0);  // B's time less A's
    // An eighth of the lap is two rows: the slow side in two halves.
    const std::vector<lap::Stretch> stretches = lap::LosingStretches(rows, 3);
    ASSERT_GE(stretches.size(), 2u);
    const auto [up, rest] = std::minmax(stretches[0].first, stretches[1].first);
    EXPECT_EQ(up, 4u);
    EXPECT_EQ(rest, 6u);
    EXPECT_NEAR(stretches[0].loss + stretches[1].loss, 8, 0.3);
    // And the other way round: A gains it all back.
    EXPECT_DOUBLE_EQ(lap::Align(b, a).back().gap, -8.0);
}

TEST(Lap, LosingStretchesAreTheGreatestRisesOverAnEighthOfTheLap) {
    const auto stretches = [](const std::vector<double>& gaps) {
        std::vector<lap::AlignedRow> rows;
        for (const double gap : gaps)
            rows.push_back({static_cast<double>(rows.size()), 0, 0, gap, 0, 0});
        return lap::LosingStretches(rows, 3);  // 16 units long: 2 rows at most
    };
    struct Case {
        std::string name;
        std::vector<double> gaps;
        std::vector<lap::Stretch> expected;
    };
    const std::vector<Case> cases = {
        {"rises apart",
         {0, 0, 1, 3, 3, 3, 2, 2, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 3.5},
         {{1, 3, 3}, {15, 16, 1}, {7, 8, 0.5}}},
        {"one long rise, in pieces",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         {{0, 2, 2}, {2, 4, 2}, {4, 6, 2}}},
        {"no loss", {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<lap::Stretch> s = stretches(c.gaps);
        ASSERT_EQ(s.size(), c.expected.size());
        for (std::size_t k = 0; k < s.size(); ++k) {
            EXPECT_EQ(s[k].first, c.expected[k].first) << k;
            EXPECT_EQ(s[k].last, c.expected[k].last) << k;
            EXPECT_DOUBLE_EQ(s[k].loss, c.expected[k].loss) << k;
        }
    }
}

}  // namespace
