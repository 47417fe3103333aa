// The command line tried as a hostile user and a careless one would: every
// case here once lost data or reported a failure as success.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "app/actions.h"
#include "app/save_image.h"
#include "app/state.h"
#include "shell/dispatch.h"
#include "support/fixture.h"
#include "support/run_command.h"
#include "support/small_disk.h"

namespace {

namespace fs = std::filesystem;
using trackgen::TrackContents;
using WriteSafety = ActionTest;

TrackContents Sample() {
    TrackContents t;
    t.placeTimes = {5432, 6000, 6000, 6000, 6000, 6000};
    t.placeNames = {"Joe", "", "", "", "", ""};
    t.carNames = {"Best", "Rapid", "Comet", "Dart", "Echo", "Fury", "Gale"};
    return t;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string Trk() {
    return Quoted(TA_TRK_BINARY);
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Row 1: `trk car T.trk 1 -o T.trk` replaced the track by a car file.
TEST_F(WriteSafety, TheTrackBeingReadIsNeverAnOutput) {
    const std::string track = WriteTrack("T.trk", Sample());
    const auto before = ReadAll(track);
    fs::create_symlink(track, scratch / "link.png");
    fs::create_hard_link(track, scratch / "hard.jpg");

    CommandResult r = RunTrk("car " + Quoted(track) + " 1 -o " + Quoted(track));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "trk: " + track + ": T.trk is the track being read\n");
    for (const char* output : {"link.png", "hard.jpg"}) {
        r = RunTrk("render " + Quoted(track) + " -o " + Quoted(scratch / output));
        EXPECT_EQ(r.exitCode, 1) << output;
        EXPECT_NE(r.err.find(std::string(output) + " is the track being read"), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(ReadAll(track), before);
    EXPECT_TRUE(fs::is_symlink(scratch / "link.png"));
}

// Row 2: the old file was truncated first, then removed on failure.
TEST_F(WriteSafety, AFullDiskKeepsTheOldPicture) {
    SmallDisk disk(scratch / "disk");
    if (!disk.Ready()) GTEST_SKIP() << disk.Why();
    // Short random runs of terrain: a picture that compresses badly.
    TrackContents busy = Sample();
    std::uint32_t seed = 1;
    for (int i = 0; i < 40000; ++i) {
        seed = seed * 1103515245 + 12345;
        const int v = ((1 + (seed >> 16) % 7) << 4) | ((seed >> 8) % 13);
        busy.landmap.push_back(
            {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)});
    }
    const std::string track = WriteTrack("T.trk", busy);
    for (const char* name : {"old.jpg", "old.png"}) {
        const fs::path old = disk.Path() / name;
        std::ofstream(old) << std::string(8000, 'o');
        const CommandResult r = RunTrk("render " + Quoted(track) + " --water -o " + Quoted(old));
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(old), std::vector<std::uint8_t>(8000, 'o'));
        fs::remove(old);
        EXPECT_TRUE(Names(disk.Path()).empty()) << "a temporary file stayed";
    }
}

// Row 3: a dozen renders into one path left files with data after the end
// or a bad CRC, each process reporting success.
TEST_F(WriteSafety, ConcurrentWritersLeaveOneWholeFile) {
    const std::string track = WriteTrack("T.trk", Sample());
    for (const char* name : {"same.png", "same.jpg"}) {
        SCOPED_TRACE(name);
        const fs::path reference = scratch / (std::string("reference-") + name);
        ASSERT_EQ(RunTrk("render " + Quoted(track) + " --objects -o " + Quoted(reference)).exitCode,
                  0);
        const auto expected = ReadAll(reference);
        const fs::path target = scratch / name;
        for (int round = 0; round < 3; ++round) {
            // Started and reaped here rather than by a shell's `wait`, so that
            // every exit code is the process's own.
            const std::string command = Trk() + " render " + Quoted(track) + " --objects -o " +
                                        Quoted(target) + " 2>/dev/null";
            std::vector<pid_t> writers;
            for (int i = 0; i < 12; ++i) {
                const pid_t pid = ::fork();
                ASSERT_GE(pid, 0);
                if (pid == 0) {
                    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
                    ::_exit(127);
                }
                writers.push_back(pid);
            }
            for (std::size_t i = 0; i < writers.size(); ++i) {
                int status = 0;
                ASSERT_EQ(::waitpid(writers[i], &status, 0), writers[i]);
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                    << "process " << i << ", status " << status;
            }
            ASSERT_EQ(ReadAll(target), expected) << "round " << round;
        }
    }
    for (const auto& name : Names(scratch)) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

// Row 4: a FIFO as the output blocked until someone read it.
TEST_F(WriteSafety, AFifoIsRefusedAtOnce) {
    const std::string track = WriteTrack("T.trk", Sample());
    for (const char* name : {"ff.jpg", "ff.png", "ff.car"}) {
        const fs::path fifo = scratch / name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        const bool car = fs::path(name).extension() == ".car";
        const CommandResult r =
            RunCommand("timeout 20 " + Trk() + (car ? " car " : " render ") + Quoted(track) +
                       (car ? " 2" : "") + " -o " + Quoted(fifo));
        EXPECT_EQ(r.exitCode, 1) << name << " (124 means it blocked)";
        EXPECT_NE(r.err.find(std::string(name) + " is not a regular file"), std::string::npos)
            << r.err;
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
}

// Row 5: fallback names collided with real ones; two cars were overwritten.
TEST_F(WriteSafety, AllCarsGetSevenDistinctFiles) {
    TrackContents t = Sample();
    t.carNames = {"Alpha", "car2", "", "car0", "Alpha", "car6", "   "};
    const std::string track = WriteTrack("T.trk", t);
    const fs::path dir = scratch / "cars";
    const CommandResult r = RunTrk("car " + Quoted(track) + " --all -d " + Quoted(dir));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> names = {"Alpha.car", "car2.car", "car2-2.car", "car0.car",
                                            "car4.car",  "car6.car", "car6-2.car"};
    std::string said;
    for (int k = 0; k < 7; ++k) {
        said += "car " + std::to_string(k) + ": written as " + names[k] + "\n";
        const auto bytes = ReadAll(dir / names[k]);
        ASSERT_EQ(bytes.size(), 1352u) << names[k];
        // Each car record carries its number in its pattern (k * 31 + i).
        EXPECT_EQ(bytes[8 + 100], static_cast<std::uint8_t>(k * 31 + 100)) << names[k];
    }
    EXPECT_EQ(r.out, said);
    EXPECT_EQ(Names(dir).size(), 7u);
}

// Row 6: with the working folder deleted, default names went to "/".
TEST_F(WriteSafety, AMissingWorkingFolderWritesNothingElsewhere) {
    const std::string unique = "zq" + std::to_string(::getpid());
    TrackContents t = Sample();
    t.carNames = {unique + "a", unique + "b", unique + "c", unique + "d",
                  unique + "e", unique + "f", unique + "g"};
    const std::string track = WriteTrack(unique + ".trk", t);
    const std::string gone =
        "cd " + Quoted(scratch) + " && mkdir gone && cd gone && rmdir ../gone && ";
    const struct {
        std::string arguments, message;
    } cases[] = {
        {" car " + Quoted(track) + " 0", "the working folder no longer exists"},
        {" render " + Quoted(track), "the working folder no longer exists"},
        {" render " + Quoted(track) + " -o out.png", "the working folder no longer exists"},
        {" car " + Quoted(track) + " --all", "the working folder no longer exists"},
    };
    for (const auto& c : cases) {
        const CommandResult r = RunCommand(gone + Trk() + c.arguments);
        EXPECT_EQ(r.exitCode, 1) << c.arguments;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    for (const auto& entry : fs::directory_iterator("/"))
        EXPECT_EQ(entry.path().filename().string().find(unique), std::string::npos) << entry.path();
}

// Row 7: output that never arrived was reported as success.
TEST_F(WriteSafety, StandardOutputThatCannotBeWrittenFails) {
    const std::string track = WriteTrack("T.trk", Sample());
    CommandResult r = RunCommand("( " + Trk() + " info " + Quoted(track) + " >/dev/full )");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("trk: standard output: No space left on device"), std::string::npos)
        << r.err;

    r = RunCommand("( " + Trk() + " info " + Quoted(track) + " >&- )");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("trk: standard output: Bad file descriptor"), std::string::npos) << r.err;

    // A closed stdout is no fault for a command that prints nothing there, and
    // no file the tool opens may take its place.
    r = RunCommand("( " + Trk() + " render " + Quoted(track) + " -o " + Quoted(scratch / "p.png") +
                   " >&- )");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = RunCommand("( " + Trk() + " car " + Quoted(track) + " --all -d " +
                   Quoted(scratch / "cars") + " >&- )");
    EXPECT_EQ(r.exitCode, 1);
    for (const auto& name : Names(scratch / "cars"))
        EXPECT_EQ(fs::file_size(scratch / "cars" / name), 1352u) << name;

    SmallDisk disk(scratch / "disk");
    if (!disk.Ready()) GTEST_SKIP() << disk.Why();
    std::ofstream(disk.Path() / "filler") << std::string(20 * 1024, 'f');
    r = RunCommand("( " + Trk() + " info --json " + Quoted(track) + " >" +
                   Quoted(disk.Path() / "out.json") + " )");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
}

// Row 9: an empty path read as a file of 2000000 bytes, refused as a track.
// Row 11: "abc" wrote car 0.
TEST_F(WriteSafety, EmptyPathsAndBadCarNumbersAreUsageErrors) {
    WriteTrack("T.trk", Sample());
    const std::string cd = "cd " + Quoted(scratch) + " && " + Trk();
    for (const std::string arguments :
         {" info ''", " car '' 0", " render ''", " car T.trk 0 -o ''", " render T.trk -o ''"}) {
        const CommandResult r = RunCommand(cd + arguments);
        EXPECT_EQ(r.exitCode, 1) << arguments;
        EXPECT_NE(r.err.find("empty path"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("2000000"), std::string::npos) << r.out;
    }
    for (const std::string number :
         {"abc", "1x", " 2", "+", "$", "%2", "$7", "0x3", "-1", "-0", "7", "99999999999"}) {
        const CommandResult r = RunCommand(cd + " car T.trk '" + number + "'");
        EXPECT_EQ(r.exitCode, 1) << number;
        EXPECT_NE(r.err.find("no such car"), std::string::npos) << r.err;
    }
    EXPECT_EQ(Names(scratch), std::vector<std::string>{"T.trk"});
    for (const std::string number : {"006", "+6", "0", "$6", "%110"}) {
        const CommandResult r = RunCommand(cd + " car T.trk '" + number + "' -o six.car");
        EXPECT_EQ(r.exitCode, 0) << number << r.err;
    }
}

// Row 10: a track's texts drove the terminal and forged listing lines.
TEST_F(WriteSafety, TrackTextsCannotDriveATerminal) {
    TrackContents t = Sample();
    t.author = "\x1B]2;OWNED\x07\x1B[2J";
    t.placeNames[0] = "Eve\nBest: X";
    t.carNames[6] = "C1\x9D\x7F";
    const std::string track = WriteTrack("T.trk", t);

    CommandResult r = RunTrk("info " + Quoted(track));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char c : r.out) {
        EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') || c == 0x7F)
            << "control character " << int(c);
    }
    EXPECT_NE(r.out.find("\nAutor: ?]2;OWNED??[2J\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n1.: Eve?Best: X 5432\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n6:C1??\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\nBest: X"), std::string::npos);

    // The status lines on stderr (the picture's name holds the driver).
    r = RunTrk("render " + Quoted(track) + " -o " + Quoted(scratch / "p.png"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "T_5432_Eve?Best: X\nImage saved\n");

    // JSON keeps the texts exactly, every control character escaped.
    r = RunTrk("info --json " + Quoted(track));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(r.out.find("\xC2\x9D"), std::string::npos);
    EXPECT_NE(r.out.find("\\u009d\\u007f"), std::string::npos) << r.out;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["author"], "\x1B]2;OWNED\x07\x1B[2J");
    EXPECT_EQ(json["places"][0]["name"], "Eve\nBest: X");
    EXPECT_EQ(json["places"][5]["car"], "C1\xC2\x9D\x7F");

    // CSV quotes the line break and shows the others as '?'.
    r = RunTrk("info --csv " + Quoted(track));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(",?]2;OWNED??[2J,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(",\"Eve\nBest: X\","), std::string::npos);
}

// What "save" and "Car" did is kept in the state; trk's exit code comes
// from there, not from the words of the status log.
TEST_F(WriteSafety, ActionsRecordTheirOutcome) {
    app::EnterJpegEncoder();
    Load(WriteTrack("T.trk", Sample()));
    const fs::path fifo = scratch / "ff.car";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const struct {
        std::vector<std::string> answers;
        app::WriteOutcome outcome;
    } cases[] = {
        {{"2", (scratch / "c.car").string()}, app::WriteOutcome::kSaved},
        {{"2", fifo.string()}, app::WriteOutcome::kRefused},
        {{"2", (scratch / "no" / "c.car").string()}, app::WriteOutcome::kNotSaved},
        {{"2", ""}, app::WriteOutcome::kNothing},
        {{"7"}, app::WriteOutcome::kNothing},
    };
    for (const auto& c : cases) {
        ui.answers = {c.answers.begin(), c.answers.end()};
        app::ExtractCar();
        EXPECT_EQ(app::state.LastWrite, c.outcome) << c.answers[0];
        if (c.answers.size() > 1) {
            EXPECT_EQ(app::state.WritePath, c.answers[1]);
        }
        EXPECT_EQ(app::state.WriteError.empty(), c.outcome <= app::WriteOutcome::kSaved);
    }

    ui.answers = {(scratch / "p.jpg").string()};
    app::SavePicture();
    EXPECT_EQ(app::state.LastWrite, app::WriteOutcome::kSaved);
    ui.answers = {scratch.string()};
    app::SavePicture();
    EXPECT_EQ(app::state.LastWrite, app::WriteOutcome::kRefused);
    EXPECT_EQ(NewestStatusLine(),
              "Image not saved: " + scratch.filename().string() + " is a folder");
    ui.answers = {""};
    app::SavePicture();
    EXPECT_EQ(app::state.LastWrite, app::WriteOutcome::kNothing);
}

}  // namespace
