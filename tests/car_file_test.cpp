#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>

#include "app/state.h"
#include "app/window_layout.h"
#include "export/car_file.h"
#include "platform/paths.h"
#include "platform/windowing.h"
#include "shell/dispatch.h"
#include "support/core.h"
#include "support/fixture.h"

namespace {

using trackgen::TrackContents;

TrackContents Sample() {
    TrackContents t;
    t.carNames = {"Best Car", "Rapid", "Blitz", "Comet", "Delta", "Echo", "Sixer"};
    return t;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CarFile : public ActionTest {
  protected:
    // Loads `t` and keeps its bytes for comparison.
    void LoadSample(const TrackContents& t = Sample()) {
        track = t;
        bytes = trackgen::WriteTrack(t);
        Load(WriteFile("track.trk", bytes));
    }
    // Presses "Car" with the input dialog answered by `number` and the save
    // dialog by `file` (in the scratch folder unless absolute).
    void Extract(const std::string& number, const std::string& file) {
        ui.dialogs.clear();
        ui.answers.push_back(number);
        ui.answers.push_back(file.empty() || file[0] == '/' ? file : Path(file));
        shell::RunButton(app::kCarButton);
        ui.answers.clear();  // answers a refusal left unasked
    }
    std::string Path(const std::string& name) const { return (scratch / name).string(); }
    std::vector<std::uint8_t> Expected(int k) const {
        std::vector<std::uint8_t> file = {0x40, 0x05, 0, 0, 1, 0, 0, 0};
        const auto at = bytes.begin() + trackgen::LayoutOf(track).trailer + 105 + 1344 * k;
        file.insert(file.end(), at, at + 1344);
        return file;
    }

    TrackContents track;
    std::vector<std::uint8_t> bytes;
};

TEST(CarNumber, FollowsTheReadingRules) {
    using exporter::ReadCarNumber;
    EXPECT_EQ(ReadCarNumber(" +2abc"), 2);
    EXPECT_EQ(ReadCarNumber("\t \t3"), 3);
    EXPECT_EQ(ReadCarNumber("$6"), 6);
    EXPECT_EQ(ReadCarNumber("$fF"), 255);
    EXPECT_EQ(ReadCarNumber("%101"), 5);
    EXPECT_EQ(ReadCarNumber("%1021"), 2);  // stops at the first non-binary digit
    EXPECT_EQ(ReadCarNumber("-1"), -1);
    EXPECT_EQ(ReadCarNumber("-$10"), -16);
    EXPECT_EQ(ReadCarNumber("12"), 12);
    EXPECT_EQ(ReadCarNumber(""), 0);
    EXPECT_EQ(ReadCarNumber("abc"), 0);
    EXPECT_EQ(ReadCarNumber("$"), 0);
    EXPECT_EQ(ReadCarNumber("- 5"), 0);
    // Only the low 32 bits count, as a signed number.
    EXPECT_EQ(ReadCarNumber("4294967299"), 3);          // 2^32 + 3
    EXPECT_EQ(ReadCarNumber("2147483648"), INT32_MIN);  // 2^31
    EXPECT_EQ(ReadCarNumber("$100000005"), 5);
    // Past 64 bits the sum wraps in 64 bits: 2^64 + 6 reads as 6.
    EXPECT_EQ(ReadCarNumber("18446744073709551622"), 6);
}

TEST(CarFileBytes, TheRecordBehindItsHeaderOrWhyThereIsNone) {
    const TrackContents contents = Sample();
    std::vector<std::uint8_t> bytes = trackgen::WriteTrack(contents);
    const auto trailer = trackgen::LayoutOf(contents).trailer;
    const auto expected = [&](int k) {
        std::vector<std::uint8_t> file = {0x40, 0x05, 0, 0, 1, 0, 0, 0};
        const auto at = bytes.begin() + trailer + 105 + 1344 * k;
        file.insert(file.end(), at, at + 1344);
        return file;
    };
    const ParsedTrack whole(bytes);
    for (const int k : {0, 3, 6}) {
        const auto car = exporter::CarFile(*whole, k);
        ASSERT_TRUE(car) << k;
        EXPECT_EQ(car->size(), 1352u);
        EXPECT_EQ(*car, expected(k)) << k;
    }
    EXPECT_FALSE(exporter::CarFile(*whole, 7));
    EXPECT_FALSE(exporter::CarFile(*whole, -1));

    bytes.resize(static_cast<std::size_t>(trailer + 105 + 1344 * 3 - 1));  // car 2 lacks a byte
    const ParsedTrack cut(bytes);
    EXPECT_TRUE(exporter::CarFile(*cut, 1));
    EXPECT_EQ(exporter::CarFile(*cut, 2).reason(), "car 2 lies beyond the end of the track file");

    TrackContents old = Sample();
    old.version = 260;
    EXPECT_FALSE(exporter::CarFile(*ParsedTrack(old), 0));
}

TEST_F(CarFile, BestAndLastCarAreCopiedExactly) {
    LoadSample();
    Extract("0", "best.car");
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(ui.dialogs[0].kind, "input");
    EXPECT_EQ(ui.dialogs[0].title, "save car");
    EXPECT_EQ(ui.dialogs[0].filterOrPrompt, "Select No.  0 (Best), 1-6");
    EXPECT_EQ(ui.dialogs[0].defaultText, "");
    EXPECT_EQ(ui.dialogs[1].kind, "save");
    EXPECT_EQ(ui.dialogs[1].title, "save car");
    EXPECT_EQ(ui.dialogs[1].filterOrPrompt, "car|*.car");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory() + "Best Car.car");
    EXPECT_EQ(ReadAll(Path("best.car")), Expected(0));
    EXPECT_EQ(NewestStatusLine(), "Best Car saved");

    Extract("$6", "six.car");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory() + "Sixer.car");
    EXPECT_EQ(ReadAll(Path("six.car")), Expected(6));
    EXPECT_EQ(NewestStatusLine(), "Sixer saved");

    Extract("", "cancelled-input.car");  // an empty answer is car 0
    EXPECT_EQ(ReadAll(Path("cancelled-input.car")), Expected(0));
}

TEST_F(CarFile, NumbersOutsideZeroToSixDoNothing) {
    LoadSample();
    const std::string log = StatusText();
    for (const char* answer : {"7", "12", "-1", "$FFFFFFFF"}) {
        Extract(answer, "never.car");
        EXPECT_EQ(ui.dialogs.size(), 1u) << answer;  // no save dialog
    }
    EXPECT_FALSE(std::filesystem::exists(Path("never.car")));
    EXPECT_EQ(StatusText(), log);
}

TEST_F(CarFile, CancelledSaveDialogWritesNothing) {
    LoadSample();
    const std::string log = StatusText();
    Extract("2", "");
    EXPECT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(StatusText(), log);
}

TEST_F(CarFile, RefusesWithoutAnAcceptedTrack) {
    Extract("0", "none.car");
    EXPECT_EQ(NewestStatusLine(), "Car not saved: no track loaded");
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_FALSE(std::filesystem::exists(Path("none.car")));

    LoadSample();
    TrackContents wrong = Sample();
    wrong.version = 260;
    Load(WriteTrack("old.trk", wrong));
    ASSERT_EQ(app::state.TrackRejected, 1);
    Extract("0", "refused.car");
    EXPECT_EQ(NewestStatusLine(), "Car not saved: the loaded file is not a track");
    EXPECT_FALSE(std::filesystem::exists(Path("refused.car")));
}

TEST_F(CarFile, RefusesARecordBeyondTheEndOfTheFile) {
    track = Sample();
    bytes = trackgen::WriteTrack(track);
    const auto trailer = trackgen::LayoutOf(track).trailer;
    bytes.resize(
        static_cast<std::size_t>(trailer + 105 + 1344 * 3 - 1));  // car 2 lacks its last byte
    Load(WriteFile("cut.trk", bytes));
    ASSERT_TRUE(app::state.TrackAccepted);

    Extract("1", "one.car");
    EXPECT_EQ(ReadAll(Path("one.car")), Expected(1));
    Extract("2", "two.car");
    EXPECT_EQ(NewestStatusLine(), "Car not saved: car 2 lies beyond the end of the track file");
    EXPECT_FALSE(std::filesystem::exists(Path("two.car")));
}

TEST_F(CarFile, FailedWritesAreReportedAndLeaveNoFile) {
    LoadSample();
#ifndef _WIN32  // Windows has no device that refuses every write
    Extract("3", "/dev/full");
    EXPECT_EQ(NewestStatusLine().rfind("Car not saved: ", 0), 0u) << NewestStatusLine();
    EXPECT_EQ(StatusText().find("Comet saved"), std::string::npos);
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
#endif

    Extract("3", "missing-folder/x.car");
    EXPECT_EQ(NewestStatusLine().rfind("Car not saved: ", 0), 0u);
    EXPECT_EQ(StatusText().find("Comet saved"), std::string::npos);
}

TEST_F(CarFile, NameIsUsedExactlyAndALongerFileIsReplaced) {
    LoadSample();
    const std::string path = Path("garage");
    ASSERT_TRUE(trackgen::SaveFile(path, std::vector<std::uint8_t>(5000, 0xEE)));
    Extract("4", "garage");
    EXPECT_EQ(ReadAll(path), Expected(4));
    EXPECT_FALSE(std::filesystem::exists(path + ".car"));
}

TEST_F(CarFile, AwkwardCarNames) {
    TrackContents t = Sample();
    t.carNames[1] = "";
    t.carNames[2] = "a/b";
    t.carNames[5] = "x?";
    t.carNames[3] = "Caf\xE9";  // Windows-1252 e acute
    LoadSample(t);

    Extract("1", "empty.car");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory() + ".car");
    EXPECT_EQ(NewestStatusLine(), " saved");

    Extract("2", "");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory());
    Extract("5", "");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory());

    Extract("3", "");
    EXPECT_EQ(ui.dialogs[1].defaultText, platform::CurrentDirectory() + "Caf\xC3\xA9.car");
}

}  // namespace
