// trk tried with hostile file names, odd options and output that cannot be
// written: every case here once printed raw bytes, the parser's jargon, or
// a message in a form of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fixture.h"
#include "support/run_command.h"

namespace {

namespace fs = std::filesystem;
using TrkHostile = ActionTest;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

bool HasControls(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n') || byte == 0x7F) return true;
    }
    return false;
}

// Row 1: names that retitle the terminal, clear it or forge a line.
TEST_F(TrkHostile, NamesFromFilesShowTheirControlsAsQuestionMarks) {
    fs::create_directories(scratch / "d");
    WriteFile("d/a\x1b]0;pwned\a.trk", {'x'});
    fs::create_symlink(scratch / "nowhere", scratch / "d" / "b\x1b[2J.trk");
    WriteFile("d/c\nforged.trk", {'x'});
    const std::string d = (scratch / "d").string();
    for (const std::string& command :
         {std::string("info -j 2 "), "render -j 1 -d " + Quoted(scratch / "o") + " "}) {
        const CommandResult r = RunTrk(command + Quoted(scratch / "d"));
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_FALSE(HasControls(r.out + r.err)) << r.out << r.err;
        EXPECT_NE(r.err.find("trk: " + d + "/a?]0;pwned?.trk: Caution: Version <> 1.05\n"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("trk: " + d + "/c?forged.trk: Caution"), std::string::npos);
        EXPECT_NE(r.err.find(" 1 failed: " + d + "/b?[2J.trk\n"), std::string::npos);
    }
}

// Row 3: an empty standard input was written with fwrite(nullptr) and left
// its copy behind when that failed.
TEST_F(TrkHostile, AnEmptyStandardInputIsSaidSoAndLeavesNothing) {
    fs::create_directories(scratch / "tmp");
    const CommandResult r = RunCommand("TMPDIR=" + Quoted(scratch / "tmp") + " '" + TA_TRK_BINARY +
                                       "' info - < /dev/null");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "trk: -: standard input is empty\n");
    EXPECT_TRUE(fs::is_empty(scratch / "tmp"));
}

// Rows 7, 8 and 9 to 12 (row 6 is with the car numbers in
// write_safety_test): one line saying what is wrong, in one form.
TEST_F(TrkHostile, UsageAndOutputFailuresAreOneLineInOneForm) {
    trackgen::TrackContents t;
    t.placeTimes[0] = 4321;
    t.placeNames[0] = "Ann";
    const std::string track = Quoted(WriteTrack("t.trk", t));
    std::ofstream(scratch / "afile") << "a file";
    fs::create_symlink("nowhere", scratch / "dangling");
    fs::create_directories(scratch / "out" / "t_4321_Ann.jpg");
    const std::string more = "\nRun 'trk render --help' for more.\n";
    const struct {
        std::string arguments, err;
    } cases[] = {
        {"bogus",
         "trk: unknown command 'bogus' (commands: info, render, car, lap, compare, gallery)\n"
         "Run 'trk --help' for more.\n"},
        {"render t.trk --size abc",
         "trk: --size: wants a whole number from 1 to 4096, not 'abc'" + more},
        {"render t.trk -j 1.5",
         "trk: --jobs: wants a whole number from 1 to 256, not '1.5'" + more},
        {"render t.trk -o", "trk: --output wants a value" + more},
        {"render t.trk -o afile/x.jpg", "t_4321_Ann\ntrk: afile/x.jpg: Not a directory\n"},
        {"render t.trk -o afile/x.png", "t_4321_Ann\ntrk: afile/x.png: Not a directory\n"},
        {"render t.trk -d dangling", "trk: dangling: a link to nothing (nowhere)\n"},
        // A failed track of a batch says why, not its picture's name.
        {"render t.trk -d out",
         "trk: out/t_4321_Ann.jpg: t_4321_Ann.jpg is a folder\n"
         "trk: 1 track: 0 written, 0 refused, 1 failed: t.trk\n"},
    };
    for (const auto& c : cases) {
        const CommandResult r =
            RunCommand("cd " + Quoted(scratch) + " && '" + TA_TRK_BINARY + "' " + c.arguments);
        EXPECT_EQ(r.exitCode, 1) << c.arguments;
        EXPECT_EQ(r.err, c.err) << c.arguments;
    }
    EXPECT_EQ(RunTrk("car " + track + " +2 -o " + Quoted(scratch / "two.car")).exitCode, 0);

    // Help a new user reads at once: what a picture is called, that --size
    // enlarges too, the exit codes and examples, none of the parser's words.
    for (const char* command : {"info", "render", "car"}) {
        const CommandResult r = RunTrk(std::string(command) + " --help");
        EXPECT_EQ(r.exitCode, 0);
        for (const char* jargon : {"INT:", "TEXT", "REQUIRED", "[1 - ", "Excludes", "Needs"})
            EXPECT_EQ(r.out.find(jargon), std::string::npos) << command << ": " << jargon;
        for (const char* wanted : {"Exit codes: 0 ", "130", "Examples:\n  trk "})
            EXPECT_NE(r.out.find(wanted), std::string::npos) << command << ": " << wanted;
    }
    const std::string render = RunTrk("render --help").out;
    for (const char* wanted : {"larger (N up to", "place 1's time", "monza_4321_Ann.jpg"})
        EXPECT_NE(render.find(wanted), std::string::npos) << wanted;
}

}  // namespace
