#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/fixture.h"
#include "support/run_command.h"

namespace {

using trackgen::TrackContents;
using TrkInfo = ActionTest;

TrackContents Sample() {
    TrackContents t;
    t.worldSize = 120;
    t.waterLevel = 3;
    t.author = "Zo\xEB \"Quote\" \\";  // Windows-1252 ë, a quote and a backslash
    t.trackLength = 4000;
    t.bestTime = 4321;
    t.placeTimes = {5432, 6000, 6000, 6000, 6000, 6000};
    t.bestName = "Best";
    t.placeNames = {"Joe", "", "", "", "", ""};
    t.carNames = {"Car0", "\x80uro", "", "", "", "", "Car6"};
    t.ghost.resize(5);
    return t;
}

TEST_F(TrkInfo, PrintsTheInformationBoxAsUtf8) {
    const std::string path = WriteTrack("Monza.trk", Sample());
    const CommandResult r = RunTrk("info '" + path + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    ASSERT_EQ(all.size(), 33u);
    EXPECT_EQ(all[0].rfind("Monza.trk   ", 0), 0u);
    EXPECT_EQ(all[12], "Trk-L\xC3\xA4nge: 4000");
    EXPECT_EQ(all[14], "Autor: Zo\xC3\xAB \"Quote\" \\");
    EXPECT_EQ(all[25], "1:\xE2\x82\xACuro");
    EXPECT_EQ(r.out.back(), '\n');
}

TEST_F(TrkInfo, JsonHoldsEveryValue) {
    const std::string path = WriteTrack("Monza.trk", Sample());
    const CommandResult r = RunTrk("info --json '" + path + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["file"], path);
    EXPECT_EQ(j["version"], "1.05");
    EXPECT_EQ(j["world_size"], 120);
    EXPECT_EQ(j["file_size"], std::filesystem::file_size(path));
    EXPECT_EQ(j["landmap_bytes"], 0);
    EXPECT_EQ(j["author"], "Zo\xC3\xAB \"Quote\" \\");
    EXPECT_EQ(j["best"]["time"], 4321);
    EXPECT_EQ(j["best"]["car"], "Car0");
    ASSERT_EQ(j["places"].size(), 6u);
    EXPECT_EQ(j["places"][0]["name"], "Joe");
    EXPECT_EQ(j["places"][0]["car"], "\xE2\x82\xACuro");
    EXPECT_EQ(j["places"][5]["place"], 6);
    EXPECT_EQ(j["ghost_frames"], 5);
    EXPECT_EQ(j["record_date"], "7.3.2004   9:05.07");
}

TEST_F(TrkInfo, RefusedUnreadableAndMisusedGiveTheirExitCodes) {
    TrackContents bad = Sample();
    bad.version = 260;
    const std::string badPath = WriteTrack("old.trk", bad);
    CommandResult r = RunTrk("info '" + badPath + "'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out,
              "old.trk   " + std::to_string(std::filesystem::file_size(badPath)) + " Bytes\n");
    EXPECT_EQ(r.err, "Caution: Version <> 1.05\n");

    r = RunTrk("info '" + (scratch / "none.trk").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("none.trk"), std::string::npos);
    EXPECT_NE(r.err.find("No such file"), std::string::npos);
    EXPECT_EQ(r.out, "");

    // A folder is its tracks now: here the one refused file.
    r = RunTrk("info '" + scratch.string() + "'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("trk: 1 track: 0 listed, 1 refused, 0 failed"), std::string::npos)
        << r.err;

    r = RunTrk("info");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "trk: TRACK is required\nRun 'trk info --help' for more.\n");
    EXPECT_EQ(RunTrk("frobnicate x").exitCode, 1);
    EXPECT_EQ(RunTrk("").exitCode, 1);

    r = RunTrk("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("info"), std::string::npos);
    EXPECT_EQ(RunTrk("info --help").exitCode, 0);
}

TEST_F(TrkInfo, DamagedTrackIsListedWithAWarning) {
    TrackContents t = Sample();
    t.trailerOffset = 123456789;
    const CommandResult r = RunTrk("info '" + WriteTrack("broken.trk", t) + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Caution: File damaged, parts lie beyond its end\n");
    EXPECT_NE(r.out.find("Ghost Frames:0"), std::string::npos);
}

}  // namespace
