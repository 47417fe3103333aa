#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "chart/chart.h"
#include "picture/picture.h"
#include "support/core.h"
#include "support/fixture.h"
#include "support/laps.h"
#include "support/run_command.h"

namespace {

using TrkLap = ActionTest;

// The records of a CSV table, which end in "\r\n".
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

TEST_F(TrkLap, TellsTheLapAsSummaryCsvAndJson) {
    const std::string track = Quoted(WriteTrack("square.trk", LapTrack(kSlowSideSquare)));
    CommandResult r = RunTrk("lap " + track);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("lap time       24.00 s"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("sectors        8.00 s, 10.67 s, 5.33 s"), std::string::npos) << r.out;

    r = RunTrk("lap --csv " + track);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 25u);
    EXPECT_EQ(rows[0], "frame,time_s,x,y,column,row,distance,speed");
    // Frame 5 is one step up the slow right side: 1,300 units from the start.
    const lap::Sample five = lap::ReadLap(*ParsedTrack(LapTrack(kSlowSideSquare)))->samples[5];
    EXPECT_EQ(rows[6], "5,5.000,4200,3100," + std::to_string(five.column) + "," +
                           std::to_string(five.row) + ",1300.0,100.0");

    r = RunTrk("lap --json " + track);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["schema"], 1);
    EXPECT_EQ(j["lap_time"], 2400);
    EXPECT_EQ(j["frame_count"], 25);
    EXPECT_DOUBLE_EQ(j["frame_step_s"].get<double>(), 1.0);
    EXPECT_DOUBLE_EQ(j["length"].get<double>(), 4800);
    EXPECT_EQ(j["sectors_s"].size(), 3u);
    ASSERT_EQ(j["samples"].size(), 25u);
    EXPECT_DOUBLE_EQ(j["samples"][5]["distance"].get<double>(), 1300);
    for (const char* key : {"file", "average_speed", "top_speed"}) EXPECT_TRUE(j.contains(key));
}

TEST_F(TrkLap, CommandsThatNeedALapSayWhenThereIsNone) {
    trackgen::TrackContents noTime = LapTrack(kFastSquare, 6000);
    trackgen::TrackContents refused = LapTrack(kFastSquare);
    refused.version = 260;
    trackgen::TrackContents otherMap = LapTrack(kSlowSideSquare);
    otherMap.heights[7] = 9;
    const std::string fast = WriteTrack("fast.trk", LapTrack(kFastSquare));
    const std::string none = WriteTrack("none.trk", noTime);
    const std::string old = WriteTrack("old.trk", refused);
    const std::string other = WriteTrack("other.trk", otherMap);
    struct Case {
        std::string arguments;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"lap " + Quoted(none), 1, "trk: " + none + ": no ghost lap\n"},
        {"lap " + Quoted(old), 2, "Caution: Version <> 1.05\n"},  // as every command says it
        {"compare " + Quoted(fast) + " " + Quoted(none) + " --csv", 1,
         "trk: " + none + ": no ghost lap\n"},
        {"compare " + Quoted(fast) + " " + Quoted(other) + " --csv", 1,
         "trk: " + fast + " and " + other + " are not the same map\n"},
        {"compare " + Quoted(fast) + " " + Quoted(fast), 1,
         "trk: give -o FILE or --csv\nRun 'trk compare --help' for more.\n"},
    };
    for (const Case& c : cases) {
        const CommandResult r = RunTrk(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(r.err, c.err) << c.arguments;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
    // A picture goes on without the lap's overlay, and says so.
    const CommandResult r = RunTrk("render " + Quoted(none) + " --ghost-speed -o " +
                                   Quoted((scratch / "none.png").string()));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find(none + ": no ghost lap"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(scratch / "none.png"));
}

TEST_F(TrkLap, CompareAlignsBOnAAndDrawsTheChart) {
    const std::string fast = WriteTrack("fast.trk", LapTrack(kFastSquare));
    const std::string slow = WriteTrack("slow.trk", LapTrack(kSlowSideSquare));
    CommandResult r = RunTrk("compare " + Quoted(fast) + " " + Quoted(slow) + " --csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 17u);
    EXPECT_EQ(rows[0], "distance,time_a_s,time_b_s,gap_s,speed_a,speed_b");
    EXPECT_EQ(rows[1], "0.0,0.000,0.000,0.000,300.0,300.0");
    EXPECT_EQ(rows.back(), "4800.0,16.000,24.000,8.000,300.0,300.0");  // B's time less A's

    if (!chart::Available()) {
        r = RunTrk("compare " + Quoted(fast) + " " + Quoted(slow) + " -o laps.png");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "trk: compare: charts are not available in this build; use --csv\n");
        return;
    }
    const std::string chart = (scratch / "laps.svg").string();
    r = RunTrk("compare " + Quoted(fast) + " " + Quoted(slow) + " -o " + Quoted(chart));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(chart);
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    // Neither track is ever written over, nor a chart of an unknown type.
    const auto before = std::filesystem::file_size(slow);
    for (const std::string& target : {slow, fast, (scratch / "laps.gif").string()}) {
        r = RunTrk("compare " + Quoted(fast) + " " + Quoted(slow) + " -o " + Quoted(target));
        EXPECT_EQ(r.exitCode, 1) << target;
    }
    EXPECT_EQ(std::filesystem::file_size(slow), before);
    EXPECT_FALSE(std::filesystem::exists(scratch / "laps.gif"));
}

TEST_F(TrkLap, RenderDrawsTheSpeedOverlayAsTheCoreDoes) {
    const std::string track = WriteTrack("monza.trk", LapTrack(kSlowSideSquare));
    const std::string out = (scratch / "monza.png").string();
    const CommandResult r =
        RunTrk("render " + Quoted(track) + " --ghost-speed --ghost -o " + Quoted(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, out.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));

    const ParsedTrack parsed(LapTrack(kSlowSideSquare));
    raster::Picture expected = PictureOf(*parsed, "monza");
    picture::DrawGhostSpeed(expected, *parsed, picture::CaptionFont());
    picture::DrawGhost(expected, *parsed);
    ASSERT_EQ(rgb.size(), expected.pixels.size() * 3);
    std::size_t different = 0;
    for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
        const raster::Colour c = expected.pixels[i];
        different += rgb[3 * i] != raster::RedOf(c) || rgb[3 * i + 1] != raster::GreenOf(c) ||
                     rgb[3 * i + 2] != raster::BlueOf(c);
    }
    EXPECT_EQ(different, 0u);
}

}  // namespace
