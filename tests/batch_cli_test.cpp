// trk over many tracks: folders, names, workers, standard input and output,
// bad tracks in the middle of a run, and the tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "cli/batch.h"
#include "support/fixture.h"
#include "support/jpeg_decode.h"
#include "support/run_command.h"
#include "trackgen/scene.h"

namespace {

namespace fs = std::filesystem;
using trackgen::TrackContents;
using TrkBatch = ActionTest;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Names of the files in `folder`, sorted.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TrkBatchTracks : public TrkBatch {
  protected:
    std::string Scene(const std::string& file, std::uint64_t seed, const std::string& name) {
        fs::create_directories((scratch / file).parent_path());
        return WriteTrack(file, trackgen::GenerateScene(seed, name));
    }
};

TEST_F(TrkBatchTracks, SamePictureNamesFromDifferentFoldersGetNumbersInArgumentOrder) {
    // Same track name and results, different maps: the same picture name.
    TrackContents first = trackgen::GenerateScene(1, "lap");
    TrackContents second = trackgen::GenerateScene(2, "lap");
    second.placeTimes = first.placeTimes;
    second.placeNames = first.placeNames;
    second.bestTime = first.bestTime;
    second.bestName = first.bestName;
    fs::create_directories(scratch / "b");
    fs::create_directories(scratch / "a");
    const std::string inB = WriteTrack("b/lap.trk", first);
    const std::string inA = WriteTrack("a/lap.trk", second);
    const fs::path out = scratch / "out";
    fs::create_directories(out);
    std::ofstream(out / "keep.txt") << "mine";

    // b is named first, so b's picture gets the plain name.
    CommandResult r =
        RunTrk("render " + Quoted(inB) + " " + Quoted(inA) + " -j 2 -d " + Quoted(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> names = Names(out);
    ASSERT_EQ(names.size(), 3u);
    const std::string plain = names[2];  // "lap_<time>_<driver>.jpg" sorts after "keep.txt"
    EXPECT_EQ(names[0], "keep.txt");
    ASSERT_EQ(names[1].substr(0, 4), "lap_") << names[1];
    ASSERT_EQ(names[1].substr(names[1].size() - 6), "-2.jpg");
    EXPECT_EQ(Slurp(out / "keep.txt"), "mine");

    ASSERT_EQ(RunTrk("render " + Quoted(inB) + " -o " + Quoted(scratch / "b.jpg")).exitCode, 0);
    ASSERT_EQ(RunTrk("render " + Quoted(inA) + " -o " + Quoted(scratch / "a.jpg")).exitCode, 0);
    const std::string numbered = names[1];
    const std::string stem = numbered.substr(0, numbered.size() - 6);
    EXPECT_EQ(plain, stem + ".jpg");
    EXPECT_EQ(Slurp(out / (stem + ".jpg")), Slurp(scratch / "b.jpg"));
    EXPECT_EQ(Slurp(out / numbered), Slurp(scratch / "a.jpg"));

    // A second run replaces its own earlier pictures instead of numbering on.
    r = RunTrk("render " + Quoted(inA) + " " + Quoted(inB) + " -d " + Quoted(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Names(out).size(), 3u);
    EXPECT_EQ(Slurp(out / (stem + ".jpg")), Slurp(scratch / "a.jpg"));
    EXPECT_EQ(Slurp(out / numbered), Slurp(scratch / "b.jpg"));
    EXPECT_NE(r.err.find("trk: 2 tracks: 2 written, 0 refused, 0 failed"), std::string::npos)
        << r.err;
}

// Runs `claim` for every track of `tracks` one at a time; what each printed.
std::vector<std::string> RunHere(
    const cli::TrackList& tracks,
    const std::function<std::string(const cli::TrackInput&, cli::NameClaims&)>& claim) {
    cli::BatchSettings settings;
    settings.jobs = 1;
    testing::internal::CaptureStdout();
    cli::RunBatch(tracks, settings,
                  [&](const cli::TrackInput& input, cli::NameClaims& claims, cli::Workspace&) {
                      cli::TrackResult result;
                      result.out = claim(input, claims) + "\n";
                      return result;
                  });
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    return lines;
}

TEST(TrackList, GivesBackEveryTrackAsAdded) {
    // Names packed against their neighbours: across blocks and folders, a
    // folder coming back, with and without ".trk", long and empty names.
    std::vector<cli::TrackInput> inputs;
    const std::string longName(300, 'n');
    for (int i = 0; i < 150; ++i) {
        const std::string number = std::to_string(i % 50);
        const std::string folder = i < 70 ? "a/" : i < 100 ? "b/c/" : i < 120 ? "" : "a/";
        for (const std::string& name : {"t" + number + ".trk", "t" + number, "t" + number + ".TRK",
                                        longName + number + ".trk", std::string()})
            inputs.push_back({folder + name, folder + name, ""});
    }
    inputs.insert(inputs.begin() + 33, {"-", "/tmp/x/stdin.trk", ""});
    inputs.insert(inputs.begin() + 64, {"gone", "gone", "cannot read the folder"});
    cli::TrackList tracks;
    for (const cli::TrackInput& input : inputs) tracks.Add(input);
    ASSERT_EQ(tracks.size(), inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const cli::TrackInput back = tracks[i];
        EXPECT_EQ(back.given, inputs[i].given) << i;
        EXPECT_EQ(back.path, inputs[i].path) << i;
        EXPECT_EQ(back.error, inputs[i].error) << i;
    }
}

TEST(NameClaims, NamesAreThoseOfAPlainSetOfEveryNameGiven) {
    // Stems that are each other's numbered names and extensions that end
    // in each other: names kept as numbered ones must still compare whole.
    const std::vector<std::string> stems = {"a", "a-2", "a-2-2", "a-3", "a.b", "b", "a-"};
    const std::vector<std::string> extensions = {".jpg", ".b.jpg", "-2.jpg", ""};
    cli::TrackList tracks;
    std::vector<std::pair<std::string, std::string>> asked;
    for (std::size_t i = 0; i < 3000; ++i) {
        tracks.Add({"t.trk", "t.trk", ""});
        asked.emplace_back(stems[i % stems.size()] + (i % 500 < 250 ? "" : std::to_string(i)),
                           extensions[(i / 7 + i / 50) % extensions.size()]);
    }
    std::size_t next = 0;
    const std::vector<std::string> given =
        RunHere(tracks, [&](const cli::TrackInput&, cli::NameClaims& claims) {
            const auto& [stem, extension] = asked[next++];
            return claims.Claim(stem, extension);
        });
    std::set<std::string> taken;
    ASSERT_EQ(given.size(), asked.size());
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const auto& [stem, extension] = asked[i];
        std::string name = stem + extension;
        for (int n = 2; taken.count(name) != 0; ++n)
            name = stem + "-" + std::to_string(n) + extension;
        taken.insert(name);
        ASSERT_EQ(given[i], name) << i;
    }
}

TEST_F(TrkBatchTracks, EveryWorkerCountGivesTheSameBytesAsOneTrackAtATime) {
    std::vector<std::string> tracks;
    for (int i = 0; i < 7; ++i)
        tracks.push_back(
            Scene("in/t" + std::to_string(i) + ".trk", 100 + i, "t" + std::to_string(i)));
    const std::string overlays = " --water --objects --ghost";
    std::vector<std::string> runs;
    for (const char* jobs : {"1", "2", "3", "16"}) {
        const fs::path out = scratch / ("j" + std::string(jobs));
        CommandResult r = RunTrk("render " + Quoted(scratch / "in") + overlays + " -j " + jobs +
                                 " -d " + Quoted(out));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string all;
        for (const std::string& name : Names(out)) all += name + "\n" + Slurp(out / name);
        runs.push_back(all);
        r = RunTrk("info --json -j " + std::string(jobs) + " " + Quoted(scratch / "in"));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        runs.back() += r.out;
    }
    for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_TRUE(runs[i] == runs[0]) << "run " << i;

    const fs::path j2 = scratch / "j2";
    const std::vector<std::string> names = Names(j2);
    ASSERT_EQ(names.size(), tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const fs::path alone = scratch / "alone.jpg";
        ASSERT_EQ(
            RunTrk("render " + Quoted(tracks[i]) + overlays + " -o " + Quoted(alone)).exitCode, 0);
        const std::string bytes = Slurp(alone);
        const bool found = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return Slurp(j2 / name) == bytes;
        });
        EXPECT_TRUE(found) << tracks[i];
    }
}

TEST_F(TrkBatchTracks, FoldersAreWalkedInNameOrderAndSubfoldersOnlyWithRecursion) {
    Scene("top/b.trk", 1, "b");
    Scene("top/a.TRK", 2, "a");
    Scene("top/m/c.trk", 3, "c");
    Scene("top/m/deeper/d.trk", 4, "d");
    Scene("top/z.trk", 5, "z");
    std::ofstream(scratch / "top" / "notes.txt") << "not a track";

    CommandResult r = RunTrk("info --csv " + Quoted(scratch / "top"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string top = (scratch / "top").string();
    std::string expected;
    for (const char* file : {"/a.TRK", "/b.trk", "/z.trk"}) expected += top + file + ",";
    std::string files;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);  // header
    while (std::getline(lines, line)) files += line.substr(0, line.find(',')) + ",";
    EXPECT_EQ(files, expected);

    r = RunTrk("info --csv -r " + Quoted(scratch / "top") + " " + Quoted(scratch / "top/z.trk"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    files.clear();
    lines = std::istringstream(r.out);
    std::getline(lines, line);
    while (std::getline(lines, line)) files += line.substr(0, line.find(',')) + ",";
    expected.clear();
    for (const char* file : {"/a.TRK", "/b.trk", "/m/c.trk", "/m/deeper/d.trk", "/z.trk", "/z.trk"})
        expected += top + file + ",";
    EXPECT_EQ(files, expected);
    EXPECT_NE(r.err.find("trk: 6 tracks: 6 listed, 0 refused, 0 failed"), std::string::npos)
        << r.err;

    // Text listings one after another, each headed by its file.
    r = RunTrk("info " + Quoted(scratch / "top/b.trk") + " " + Quoted(scratch / "top/z.trk"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto b = r.out.find("==> " + top + "/b.trk <==\nb.trk   ");
    const auto z = r.out.find("==> " + top + "/z.trk <==\nz.trk   ");
    EXPECT_NE(b, std::string::npos) << r.out;
    EXPECT_NE(z, std::string::npos);
    EXPECT_LT(b, z);

    // An empty folder is an empty run, not an error.
    fs::create_directories(scratch / "empty");
    r = RunTrk("info --json " + Quoted(scratch / "empty"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(TrkBatchTracks, StandardInputAndOutput) {
    const std::string track = Scene("s.trk", 7, "s");
    const std::string trk = std::string("'") + TA_TRK_BINARY + "'";
    // A picture on stdout is the same file -o would write.
    CommandResult r = RunCommand("(" + trk + " render " + Quoted(track) + " --objects -o - > " +
                                 Quoted(scratch / "piped.jpg") + ")");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(RunTrk("render " + Quoted(track) + " --objects -o " + Quoted(scratch / "file.jpg"))
                  .exitCode,
              0);
    EXPECT_EQ(Slurp(scratch / "piped.jpg"), Slurp(scratch / "file.jpg"));
    r = RunCommand("(" + trk + " render " + Quoted(track) + " --format png -o - > " +
                   Quoted(scratch / "piped.png") + ")");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Slurp(scratch / "piped.png").substr(1, 3), "PNG");

    // A track from stdin, through a pipe and from a file.
    r = RunCommand("(cat " + Quoted(track) + " | " + trk + " info --json -)");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"file\": \"-\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"author\": \"s by trackgen\""), std::string::npos);
    r = RunCommand("(" + trk + " render - -o - < " + Quoted(track) + " > " +
                   Quoted(scratch / "in.jpg") + ")");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    DecodedJpeg decoded;
    ASSERT_TRUE(DecodeJpeg((scratch / "in.jpg").string(), decoded));
    EXPECT_EQ(decoded.width, 512);
    EXPECT_EQ(decoded.height, 560);

    // Too long for a track, and named twice.
    r = RunCommand("(head -c 1000001 /dev/zero | " + trk + " info -)");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("longer than 1000000 bytes"), std::string::npos) << r.err;
    // Named twice nothing runs, and the copy of standard input is not left
    // behind in the temporary folder (info used to leave it).
    fs::create_directories(scratch / "tmp");
    for (const std::string command : {"info", "render", "car --all"}) {
        r = RunCommand("(TMPDIR=" + Quoted(scratch / "tmp") + " " + trk + " " + command +
                       " - - < " + Quoted(track) + ")");
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_NE(r.err.find("only once"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(scratch / "tmp"));
}

TEST_F(TrkBatchTracks, BadTracksInTheMiddleAreCountedAndTheRunGoesOn) {
    Scene("run/a.trk", 1, "a");
    TrackContents old = trackgen::GenerateScene(2, "b");
    old.version = 260;
    WriteTrack("run/b-old.trk", old);
    TrackContents cut = trackgen::GenerateScene(3, "c");
    cut.trailerOffset = 123456789;
    WriteTrack("run/c-cut.trk", cut);
    Scene("run/e.trk", 5, "e");
    const fs::path out = scratch / "out";

    CommandResult r = RunTrk("render -j 2 " + Quoted(scratch / "run") + " -d " + Quoted(out));
    EXPECT_EQ(r.exitCode, 2) << r.err;  // refused, none failed
    EXPECT_EQ(Names(out).size(), 3u);   // the damaged one is drawn too
    EXPECT_NE(r.err.find("b-old.trk: Caution: Version <> 1.05"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("trk: 4 tracks: 3 written (1 damaged), 1 refused, 0 failed\n"),
              std::string::npos)
        << r.err;

    // A file that cannot be read, named between good ones, fails alone.
    fs::create_symlink(scratch / "nowhere.trk", scratch / "run" / "d-gone.trk");
    fs::remove_all(out);
    r = RunTrk("render " + Quoted(scratch / "run/a.trk") + " " + Quoted(scratch / "run") + " -d " +
               Quoted(out));
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(Names(out).size(), 4u);  // a.trk twice
    EXPECT_NE(r.err.find("trk: 6 tracks: 4 written (1 damaged), 1 refused, 1 failed: " +
                         (scratch / "run/d-gone.trk").string() + "\n"),
              std::string::npos)
        << r.err;
    // The summary is the last line; messages of tracks that went well are left out.
    EXPECT_EQ(r.err.find("Image saved"), std::string::npos) << r.err;

    // A picture whose name is taken by a folder fails alone, and leaves no
    // file behind under a name of its own.
    const std::string taken = Names(out).back();  // not a numbered one
    fs::remove_all(out);
    fs::create_directories(out / taken);
    r = RunTrk("render -j 2 " + Quoted(scratch / "run") + " -d " + Quoted(out));
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find((out / taken).string() + ": " + taken + " is a folder\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("2 written (1 damaged), 1 refused, 2 failed"), std::string::npos);
    EXPECT_EQ(Names(out).size(), 3u);
    EXPECT_TRUE(fs::is_empty(out / taken));

    r = RunTrk("info --json " + Quoted(scratch / "run"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("\"damaged\":true"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"damaged\":false"), std::string::npos);
}

// -d is a run into a folder however many tracks it names: one track tells
// its outcome in the same summary as a folder of one.
TEST_F(TrkBatchTracks, OneTrackIntoAFolderEndsWithTheSummaryLikeAFolderOfOne) {
    const std::string track = Scene("one/a.trk", 1, "a");
    TrackContents old = trackgen::GenerateScene(2, "b");
    old.version = 260;
    fs::create_directories(scratch / "old");
    const std::string refused = WriteTrack("old/b.trk", old);
    const fs::path out = scratch / "out";
    for (const std::string& named : {track, (scratch / "one").string()}) {
        fs::remove_all(out);
        CommandResult r = RunTrk("render " + Quoted(named) + " -d " + Quoted(out));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Names(out).size(), 1u) << named;
        EXPECT_EQ(r.err, "trk: 1 track: 1 written, 0 refused, 0 failed\n") << named;
    }
    CommandResult r = RunTrk("render " + Quoted(refused) + " -d " + Quoted(out));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("b.trk: Caution: Version <> 1.05"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("trk: 1 track: 0 written, 1 refused, 0 failed\n"), std::string::npos)
        << r.err;
}

TEST_F(TrkBatchTracks, JsonLinesAndCsvReadBackWithRealParsers) {
    TrackContents odd = trackgen::GenerateScene(4, "odd");
    odd.author = "Zo\xEB, \"the\" fast\r\nline";  // ë, a comma, quotes and a line break
    fs::create_directories(scratch / "t");
    WriteTrack(
        "t/\xC5\x81\xC3\xB3"
        "d\xC5\xBA.trk",
        odd);  // "Łódź": UTF-8 outside Windows-1252
    WriteTrack("t/raw\xFF.trk", trackgen::GenerateScene(5, "raw"));  // not UTF-8 at all
    const std::string folder = Quoted(scratch / "t");
    const std::string parse = "python3 '" TA_SOURCE_DIR "/tests/support/parse_table.py' ";
    const std::string trk = std::string("'") + TA_TRK_BINARY + "'";
    const std::string dir = (scratch / "t").string();

    const std::string expected =
        "[\"" + dir +
        "/raw\\ufffd.trk\", \"raw by trackgen\", false, 1]\n"
        "[\"" +
        dir +
        "/\\u0141\\u00f3d\\u017a.trk\", \"Zo\\u00eb, \\\"the\\\" fast\\r\\nline\", false, 1]\n";
    CommandResult r = RunCommand("(" + trk + " info --json " + folder + " | " + parse + "json)");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);

    r = RunCommand("(" + trk + " info --csv " + folder + " | " + parse + "csv)");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string csvExpected = expected;
    for (std::size_t at = 0; (at = csvExpected.find("false, 1]", at)) != std::string::npos;)
        csvExpected.replace(at, 9, "\"false\", 24]");
    EXPECT_EQ(r.out, csvExpected);

    // One track alone: one indented object, as before, with the new fields.
    r = RunTrk("info --json " + Quoted(scratch / "t/raw\xFF.trk"));
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\n  \"damaged\": false,\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n  \"schema\": 1,\n"), std::string::npos);
}

TEST_F(TrkBatchTracks, SizeScalesToFitAndOptionsThatClashAreUsageErrors) {
    const std::string track = Scene("s.trk", 9, "s");
    const fs::path out = scratch / "thumb.png";
    // The thumbnailer's form, --size before and after the other options.
    for (const std::string& line : {"render " + Quoted(track) + " --size 100 -o " + Quoted(out),
                                    "render --size 100 -o " + Quoted(out) + " " + Quoted(track)}) {
        fs::remove(out);
        const CommandResult r = RunTrk(line);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string png = Slurp(out);
        ASSERT_GT(png.size(), 24u);
        const auto be32 = [&png](std::size_t at) {
            return (static_cast<unsigned char>(png[at]) << 24) |
                   (static_cast<unsigned char>(png[at + 1]) << 16) |
                   (static_cast<unsigned char>(png[at + 2]) << 8) |
                   static_cast<unsigned char>(png[at + 3]);
        };
        EXPECT_EQ(be32(16), 91u);  // 512 x 560 into 100 x 100
        EXPECT_EQ(be32(20), 100u);
    }
    ASSERT_EQ(RunTrk("render " + Quoted(track) + " --size 1000 -o " + Quoted(scratch / "big.jpg"))
                  .exitCode,
              0);
    DecodedJpeg big;
    ASSERT_TRUE(DecodeJpeg((scratch / "big.jpg").string(), big));
    EXPECT_EQ(big.width, 914);
    EXPECT_EQ(big.height, 1000);

    EXPECT_EQ(RunTrk("render " + Quoted(track) + " --quality 50 -o " + Quoted(out)).exitCode, 1);
    EXPECT_EQ(RunTrk("render " + Quoted(track) + " --quality 50 --format png -d " + Quoted(scratch))
                  .exitCode,
              1);
    EXPECT_EQ(
        RunTrk("render " + Quoted(track) + " " + Quoted(track) + " -o " + Quoted(out)).exitCode, 1);
    EXPECT_EQ(RunTrk("render " + Quoted(track) + " --size 0 -o " + Quoted(out)).exitCode, 1);
    EXPECT_EQ(RunTrk("render " + Quoted(track) + " -o x.jpg -d " + Quoted(scratch)).exitCode, 1);
    EXPECT_EQ(RunTrk("car " + Quoted(scratch) + " 1").exitCode, 1);
    EXPECT_FALSE(fs::exists(scratch / "x.jpg"));
}

TEST_F(TrkBatchTracks, CarsOfSeveralTracksGoIntoAFolderPerTrack) {
    fs::create_directories(scratch / "other");
    const std::string a = Scene("lap.trk", 1, "lap");
    const std::string b = Scene("other/lap.trk", 2, "lap");
    const fs::path out = scratch / "cars";
    const CommandResult r =
        RunTrk("car --all -d " + Quoted(out) + " " + Quoted(a) + " " + Quoted(b));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Names(out), (std::vector<std::string>{"lap", "lap-2"}));
    EXPECT_FALSE(Names(out / "lap").empty());
    EXPECT_EQ(Names(out / "lap").size(), Names(out / "lap-2").size() + 0 * 1);
}

}  // namespace

namespace {

TEST_F(TrkBatchTracks, ProgressShowsOnlyOnATerminalAndMakesWayForTheSummary) {
    for (int i = 0; i < 3; ++i) Scene("p/t" + std::to_string(i) + ".trk", 20 + i, "t");
    CommandResult r = RunTrk("info " + Quoted(scratch / "p"));
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "trk: 3 tracks: 3 listed, 0 refused, 0 failed\n");
    if (!fs::exists("/usr/bin/script")) GTEST_SKIP() << "no script(1) to make a terminal";
    // script(1) gives the run a terminal; everything it printed comes back.
    r = RunCommand("script -qec \"'" + std::string(TA_TRK_BINARY) + "' info -j 1 " +
                   Quoted(scratch / "p") + " > /dev/null\" /dev/null");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\r1/3  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" tracks/s  0:0"), std::string::npos);
    // The line is wiped before the summary, which stands alone at the end.
    const std::string tail = "\r\x1b[Ktrk: 3 tracks: 3 listed, 0 refused, 0 failed\r\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
}

}  // namespace
