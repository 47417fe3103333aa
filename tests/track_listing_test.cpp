#include <gtest/gtest.h>

#include <algorithm>

#include "app/state.h"
#include "platform/paths.h"
#include "support/core.h"
#include "support/fixture.h"

namespace {

using trackgen::TrackContents;

TrackContents Sample() {
    TrackContents t;
    t.worldSize = 100;
    t.waterLevel = 12;
    t.angle = 30;
    t.rotationLow = 200;
    t.rotationHigh = 255;
    t.zoom = 4;
    t.startFinishLine = 9;
    t.landmap = {{0x25, 0x01}, {0x02, 0x10}};
    t.objects = {{10, 100, 100, 0}, {9, 50, 50, 0}};
    t.author = "  Jane Doe  ";
    t.trackLength = 1234;
    t.bestTime = 4321;
    t.placeTimes = {5432, 5500, 6000, 0, -5, 7000};
    t.bestName = "Best";
    t.placeNames = {"Joe", "  Ann", "", "Kim", "Lou", "Max"};
    t.carNames = {"Car0", "Car1", "Car2", "Car3", "Car4", "Car5", "Car6"};
    t.date = {2004, 3, 0, 7, 9, 5, 7, 0};
    t.ghost.resize(3);
    return t;
}

TEST(TrackListing, AcceptedTrackListsAllLinesInOrder) {
    const ParsedTrack t(Sample());
    const std::vector<std::string> expected = {"Velocitra 1.05",
                                               " ",
                                               "Worldsize: 100",
                                               "Waterlevel: 12",
                                               "Angel: 30",
                                               "Rotation: -56",
                                               "Zoom: 4",
                                               "S/F Line: 9",
                                               " ",
                                               "Landmap: 2 Bytes",
                                               "# Objecte: 2",
                                               "Trk-L\xE4nge: 1234",
                                               " ",
                                               "Autor: Jane Doe",
                                               " ",
                                               "Best: Best 4321  7.3.2004   9:05.07",
                                               "1.: Joe 5432",
                                               "2.: Ann 5500",
                                               "3.:  6000",
                                               "4.: Kim 0",
                                               "5.: Lou -5",
                                               "6.: Max 7000",
                                               " ",
                                               "Car Best:Car0",
                                               "1:Car1",
                                               "2:Car2",
                                               "3:Car3",
                                               "4:Car4",
                                               "5:Car5",
                                               "6:Car6",
                                               " ",
                                               "Ghost Frames:3"};
    EXPECT_EQ(track::ListingLines(*t), expected);
    EXPECT_EQ(track::LoadLine("monza.trk", 12345), "monza.trk   12345 Bytes");
}

TEST(TrackListing, VersionAndMarkDecideAcceptance) {
    struct Case {
        std::int16_t version;
        std::string mark;
        bool accepted;
    };
    for (const Case& c : {Case{261, "VT", true}, Case{261, "V", false}, Case{1281, "VT", false},
                          Case{261, "vt", false}, Case{261, "VX", false}}) {
        TrackContents t = Sample();
        t.version = c.version;
        t.mark = c.mark;
        const ParsedTrack parsed(t);
        EXPECT_EQ(parsed->Refused(), !c.accepted) << c.version << " " << c.mark;
        EXPECT_EQ(track::ListingLines(*parsed).size(), c.accepted ? 32u : 0u);
    }
}

TEST(TrackListing, RotationCombinesItsTwoBytes) {
    const int cases[][3] = {
        {200, 255, -56}, {200, 0, 200}, {10, 1, 8}, {0, 255, -256}, {255, 0, 255}};
    for (const auto& c : cases) {
        TrackContents t = Sample();
        t.rotationLow = static_cast<std::uint8_t>(c[0]);
        t.rotationHigh = static_cast<std::uint8_t>(c[1]);
        EXPECT_EQ(track::ListingLines(*ParsedTrack(t)).at(5), "Rotation: " + std::to_string(c[2]));
    }
}

TEST(TrackListing, TextsAreCutAtTheirWidthAndTrimmedOfBlanksOnly) {
    TrackContents t = Sample();
    t.bestName = "ABCDEFGHIJKLM";  // 13 bytes: the 13th is not read
    t.placeNames[0] = "  Bob";
    t.placeNames[1] = "\tTab\t";
    t.author = std::string(30, 'a');
    t.carNames[3] = "Name12345678XYZ";
    t.bestTime = 100;
    const auto lines = track::ListingLines(*ParsedTrack(t));
    EXPECT_EQ(lines.at(15), "Best: ABCDEFGHIJKL 100  7.3.2004   9:05.07");
    EXPECT_EQ(lines.at(16), "1.: Bob 5432");
    EXPECT_EQ(lines.at(17), "2.: \tTab\t 5500");
    EXPECT_EQ(lines.at(13), "Autor: " + std::string(30, 'a'));
    EXPECT_EQ(lines.at(26), "3:Name12345678");

    t.bestName = "";
    EXPECT_EQ(track::ListingLines(*ParsedTrack(t)).at(15), "Best:  100  7.3.2004   9:05.07");
}

TEST(TrackListing, RecordDateShowsTwoCharacterFieldsCutOrFilled) {
    TrackContents t = Sample();
    t.date = {1999, 12, 3, 31, 23, 123, -3, 999};
    EXPECT_EQ(ParsedTrack(t)->recordDate, "31.12.1999   23:12.-3");
    t.date = {2004, 1, 0, 2, 0, 0, 0, 0};
    EXPECT_EQ(ParsedTrack(t)->recordDate, "2.1.2004   0:00.00");
}

TEST(TrackListing, GhostFramesAreHalfTheLengthTruncatedTowardZero) {
    for (const auto& [g, frames] : {std::pair{7, 3}, {-3, -1}, {1, 0}, {-32768, -16384}}) {
        TrackContents t = Sample();
        t.ghost.clear();
        t.ghostLength = static_cast<std::int16_t>(g);
        const ParsedTrack parsed(t);
        EXPECT_EQ(track::ListingLines(*parsed).back(), "Ghost Frames:" + std::to_string(frames));
        EXPECT_EQ(parsed->ghostFrameCount, frames);
    }
}

TEST(TrackListing, SectionsBeyondTheFileReadAsMissing) {
    struct Case {
        const char* what;
        void (*damage)(TrackContents&);
    };
    const Case cases[] = {
        {"trailer far beyond", [](TrackContents& t) { t.trailerOffset = 0x7FFFFFFF; }},
        {"trailer negative", [](TrackContents& t) { t.trailerOffset = -0x7FFFFFFF - 1; }},
        {"landmap huge", [](TrackContents& t) { t.landmapCount = 0x7FFFFFFF; }},
        {"landmap negative", [](TrackContents& t) { t.landmapCount = -0x7FFFFFFF - 1; }},
        {"objects too many", [](TrackContents& t) { t.objectCount = 32767; }},
        {"ghost too long", [](TrackContents& t) { t.ghostLength = 32767; }},
    };
    for (const Case& c : cases) {
        TrackContents t = Sample();
        c.damage(t);
        const ParsedTrack parsed(t);
        EXPECT_FALSE(parsed->Refused()) << c.what;
        EXPECT_TRUE(parsed->damaged) << c.what;
        EXPECT_EQ(track::ListingLines(*parsed).size(), 32u) << c.what;
    }
    EXPECT_FALSE(ParsedTrack(Sample())->damaged);

    TrackContents t = Sample();
    t.trailerOffset = 0x7FFFFFFF;
    const auto lines = track::ListingLines(*ParsedTrack(t));
    EXPECT_EQ(lines.at(11), "Trk-L\xE4nge: 0");
    EXPECT_EQ(lines.at(13), "Autor: ");
    EXPECT_EQ(lines.at(15), "Best:  0  0.0.0   0:00.00");
    EXPECT_EQ(lines.back(), "Ghost Frames:0");
}

using Listing = ActionTest;

TEST_F(Listing, LoadListsTheFileAndTheTracksLines) {
    const std::string path = WriteTrack("monza.trk", Sample());
    Load(path);
    const auto size = std::filesystem::file_size(path);
    std::vector<std::string> expected = {"monza.trk   " + std::to_string(size) + " Bytes"};
    for (const std::string& line : track::ListingLines(*ParsedTrack(Sample())))
        expected.push_back(line);
    EXPECT_EQ(InfoLines(), expected);
    EXPECT_EQ(app::state.TrackRejected, 0);
    EXPECT_EQ(app::state.TrackFileSize, static_cast<std::int32_t>(size));
    EXPECT_EQ(app::state.RecordDate, "7.3.2004   9:05.07");
    EXPECT_EQ(app::state.PlaceNames[2], "Ann");
    EXPECT_EQ(app::state.CarNames[6], "Car6");

    TrackContents wrong = Sample();
    wrong.mark = "VX";
    Load(WriteTrack("wrong.trk", wrong));
    EXPECT_EQ(InfoLines().size(), 1u);
    EXPECT_EQ(NewestStatusLine(), "Caution: Version <> 1.05");
}

TEST_F(Listing, CancelledFirstLoadRefusesTheEmptyBuffer) {
    Load("");
    EXPECT_EQ(InfoText(), "   2000000 Bytes");
    EXPECT_EQ(app::state.TrackRejected, 1);
    EXPECT_EQ(NewestStatusLine(), "Caution: Version <> 1.05");
    EXPECT_EQ(app::state.TrackPath, "");
    EXPECT_EQ(app::state.TrackDirectory, "");
}

TEST_F(Listing, CancelAfterAcceptedTrackListsItAgain) {
    const std::string path = WriteTrack("monza.trk", Sample());
    Load(path);
    auto first = InfoLines();
    Load("");
    auto again = InfoLines();
    EXPECT_EQ(again.front(), "   " + std::to_string(std::filesystem::file_size(path)) + " Bytes");
    first.erase(first.begin());
    again.erase(again.begin());
    EXPECT_EQ(again, first);
    EXPECT_EQ(app::state.TrackRejected, 0);
}

TEST_F(Listing, OpenDialogStartsInTheLastTracksDirectory) {
    const std::string path = WriteTrack("monza.trk", Sample());
    Load(path);
    Load("");
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(ui.dialogs[0].title, "Select Track");
    EXPECT_EQ(ui.dialogs[0].filterOrPrompt, "trk|*.trk");
    EXPECT_EQ(ui.dialogs[0].defaultText, platform::CurrentDirectory());
    EXPECT_EQ(ui.dialogs[1].defaultText, scratch.string() + platform::kPathSeparator);
}

TEST_F(Listing, RefusedFileAfterAcceptedOneKeepsTheTracksValues) {
    Load(WriteTrack("good.trk", Sample()));
    const app::AnalyserState before = app::state;
    TrackContents bad = Sample();
    bad.mark = "XX";
    bad.worldSize = 7;
    const std::string badPath = WriteTrack("bad.trk", bad);
    Load(badPath);
    EXPECT_EQ(InfoLines(),
              std::vector<std::string>{
                  "bad.trk   " + std::to_string(std::filesystem::file_size(badPath)) + " Bytes"});
    EXPECT_EQ(app::state.TrackRejected, 1);
    EXPECT_EQ(app::state.WorldSize, before.WorldSize);
    EXPECT_EQ(app::state.TrailerData, before.TrailerData);
    EXPECT_EQ(app::state.CarNames, before.CarNames);
    EXPECT_EQ(app::state.PlaceTimes, before.PlaceTimes);
    EXPECT_TRUE(app::state.TrackAccepted);
}

// Re-initialising zeroes only what was written, so every writer must be
// noted: a track, its picture, then a longer file over it.
TEST_F(Listing, ReinitialisingAfterALoadLeavesTheWholeBufferZero) {
    Load(WriteTrack("good.trk", Sample()));
    ASSERT_TRUE(app::state.TrackAccepted);
    Load(WriteFile("long.trk", std::vector<std::uint8_t>(900'000, 0xAB)));
    ASSERT_EQ(app::state.TrackBuffer[app::kTrackHalfSize], 'B');  // the picture's bitmap
    app::InitialiseState();
    const auto& bytes = app::state.TrackBuffer;
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(app::kTrackBufferSize));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), app::kTrackBufferSize);
}

// A file that cannot be read is reported and changes nothing else: the
// previous track stays listed and drawn (it used to be listed under the new
// name, and a later save or Car exported it under that name).
TEST_F(Listing, UnreadableAndOverlongFilesKeepTheTrackAndSaySo) {
    const std::string good = WriteTrack("good.trk", Sample());
    Load(good);
    const auto size = app::state.TrackFileSize;
    const std::vector<std::uint8_t> firstBytes(app::state.TrackBuffer.begin(),
                                               app::state.TrackBuffer.begin() + size);
    const std::string listing = InfoText();
    const std::string pictureName = app::state.PictureName;
    const int shown = ui.showCount;

    std::filesystem::create_directory(scratch / "folder.trk");
    const std::string huge = WriteFile("huge.trk", std::vector<std::uint8_t>(1'000'001, 0xAB));
    const struct {
        std::string path, message;
    } cases[] = {
        {(scratch / "missing.trk").string(), "Caution: missing.trk: No such file or directory"},
        {(scratch / "folder.trk").string(), "Caution: folder.trk: Is a directory"},
        {huge, "Caution: huge.trk: longer than 1000000 bytes"},
        // No file part to name: the last folder says what was meant.
        {(scratch / "gone").string() + "//", "Caution: gone/: No such file or directory"},
    };
    for (const auto& c : cases) {
        Load(c.path);
        EXPECT_EQ(NewestStatusLine(), c.message);
        EXPECT_FALSE(app::state.LoadError.empty());
        EXPECT_EQ(InfoText(), listing) << c.path;
        EXPECT_EQ(app::state.PictureName, pictureName);
        EXPECT_EQ(ui.showCount, shown) << "nothing is drawn again";
        EXPECT_EQ(app::state.TrackFileSize, size);
        EXPECT_TRUE(
            std::equal(firstBytes.begin(), firstBytes.end(), app::state.TrackBuffer.begin()));
        EXPECT_TRUE(app::state.TrackAccepted);
    }
    EXPECT_NE(app::state.TrackBuffer[app::kTrackHalfSize], 0xAB);

    Load(WriteFile("exact.trk", std::vector<std::uint8_t>(1'000'000, 0)));
    EXPECT_EQ(app::state.TrackFileSize, 1'000'000);
    EXPECT_TRUE(app::state.LoadError.empty());
}

// Before any track: the start-up values stay, with no "2000000 Bytes" line
// and no version caution for a file that was never read.
TEST_F(Listing, UnreadableFirstFileListsNothing) {
    Load((scratch / "missing.trk").string());
    EXPECT_EQ(InfoText(), "");
    EXPECT_EQ(NewestStatusLine(), "Caution: missing.trk: No such file or directory");
    EXPECT_EQ(StatusText().find("Version"), std::string::npos);
}

TEST_F(Listing, EmptyFileIsReadAsNothingAndRefused) {
    Load(WriteTrack("good.trk", Sample()));
    Load(WriteFile("empty.trk", {}));
    EXPECT_EQ(InfoText(), "empty.trk   0 Bytes");
    EXPECT_EQ(app::state.TrackRejected, 1);
}

TEST_F(Listing, ADamagedTrackIsListedWithACaution) {
    TrackContents t = Sample();
    t.trailerOffset = 0x7FFFFFFF;
    Load(WriteTrack("damaged.trk", t));
    EXPECT_EQ(app::state.TrackRejected, 0);
    EXPECT_EQ(InfoLines().size(), 33u);
    // The picture's name follows the caution.
    EXPECT_EQ(app::state.StatusLines[5], "Caution: File damaged, parts lie beyond its end");
}

TEST_F(Listing, HealthyTrackPostsNothing) {
    Load(WriteTrack("good.trk", Sample()));
    EXPECT_EQ(app::state.StatusLines[5], "> ");
    EXPECT_EQ(NewestStatusLine(), "good_5432_Joe");  // the picture's name
}

}  // namespace
