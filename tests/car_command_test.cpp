#include <gtest/gtest.h>

#include <fstream>

#include "support/fixture.h"
#include "support/run_command.h"

namespace {

using trackgen::TrackContents;
using TrkCar = ActionTest;

TrackContents Sample() {
    TrackContents t;
    t.carNames = {"Best", "Rapid", "Rapid", "Comet", "a/b", "", "Sixer"};
    return t;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> CarRecord(const TrackContents& t, int k) {
    const auto bytes = trackgen::WriteTrack(t);
    std::vector<std::uint8_t> file = {0x40, 0x05, 0, 0, 1, 0, 0, 0};
    const auto at = bytes.begin() + trackgen::LayoutOf(t).trailer + 105 + 1344 * k;
    file.insert(file.end(), at, at + 1344);
    return file;
}

TEST_F(TrkCar, WritesTheCarUnderItsNameOrTheGivenOne) {
    const std::string track = WriteTrack("t.trk", Sample());
    const std::string cd = "cd '" + scratch.string() + "' && '" + TA_TRK_BINARY + "' car ";

    CommandResult r = RunCommand(cd + "t.trk 3");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAll(scratch / "Comet.car"), CarRecord(Sample(), 3));
    EXPECT_NE(r.err.find("Comet saved"), std::string::npos);

    r = RunTrk("car '" + track + "' +6 -o '" + (scratch / "six").string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAll(scratch / "six"), CarRecord(Sample(), 6));

    // A name that cannot be a file name needs -o.
    r = RunCommand(cd + "t.trk 4");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("-o"), std::string::npos) << r.err;
}

TEST_F(TrkCar, ExitCodesForBadNumbersFailedWritesAndRefusedTracks) {
    const std::string track = WriteTrack("t.trk", Sample());
    for (const char* number : {"7", "-1", "$10"}) {
        const CommandResult r = RunTrk("car '" + track + "' '" + number + "' -o '" +
                                       (scratch / "x.car").string() + "'");
        EXPECT_EQ(r.exitCode, 1) << number;
        EXPECT_NE(r.err.find("no such car"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "x.car"));

    CommandResult r = RunTrk("car '" + track + "' 1 -o /dev/full");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "trk: /dev/full: full is not a regular file\n");
    EXPECT_EQ(r.err.find("Rapid saved"), std::string::npos);

    TrackContents old = Sample();
    old.version = 260;
    r = RunTrk("car '" + WriteTrack("old.trk", old) + "' 1 -o '" + (scratch / "y.car").string() +
               "'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(scratch / "y.car"));

    r = RunTrk("car '" + (scratch / "missing.trk").string() + "' 1");
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(TrkCar, AllWritesSevenFilesWithoutLosingSharedNames) {
    const std::string track = WriteTrack("t.trk", Sample());
    const auto dir = scratch / "new" / "cars";  // made by the command
    const CommandResult r = RunTrk("car '" + track + "' --all -d '" + dir.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::pair<std::string, int>> expected = {
        {"Best.car", 0}, {"Rapid.car", 1}, {"car2.car", 2}, {"Comet.car", 3},
        {"car4.car", 4}, {"car5.car", 5},  {"Sixer.car", 6}};
    for (const auto& [name, k] : expected)
        EXPECT_EQ(ReadAll(dir / name), CarRecord(Sample(), k)) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 7);
    EXPECT_NE(r.out.find("car 2: written as car2.car\n"), std::string::npos) << r.out;
}

}  // namespace
