#include <fstream>
#include <iterator>

#include "gui_fixture.h"
#include "platform/windowing.h"

namespace {

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int CountDifferent(const std::vector<raster::Colour>& a, const std::vector<raster::Colour>& b) {
    int count = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i];
    return count;
}

TEST_F(GuiTest, CancelledFirstLoadListsTheBufferSizeAndRefusesTheZeroBuffer) {
    const auto before = ScreenPicture();
    Press(app::kLoadButton);

    ASSERT_EQ(ui->dialogs.size(), 1u);
    EXPECT_EQ(ui->dialogs[0].kind, "open");
    EXPECT_EQ(ui->dialogs[0].title, "Select Track");
    EXPECT_EQ(ui->dialogs[0].filterOrPrompt, "trk|*.trk");
    EXPECT_EQ(InfoText().substr(0, InfoText().find('\n')), "   2000000 Bytes");
    EXPECT_EQ(NewestStatusLine(), "Caution: Version <> 1.05");
    EXPECT_EQ(ui->ShownPicture(kPicture), nullptr);
    EXPECT_EQ(ScreenPicture(), before);
}

// The six buttons in the order a user takes them, each checked on the
// screen: the picture control must show the picture's own pixels at 1:1.
TEST_F(GuiTest, LoadWaterObjectsGhostSaveAndCarThroughTheWindow) {
    const std::string track = WriteDemoTrack("Lakeside.trk");
    ui->answers = {track};
    Press(app::kLoadButton);

    EXPECT_EQ(InfoText().substr(0, InfoText().find('\n')),
              "Lakeside.trk   " + std::to_string(std::filesystem::file_size(track)) + " Bytes");
    EXPECT_NE(InfoText().find("Trk-L\xC3\xA4nge: "), std::string::npos);  // shown as UTF-8
    const platform::PictureRef picture = ui->ShownPicture(kPicture);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(NewestStatusLine(), app::state.PictureName);
    auto screen = ScreenPicture();
    EXPECT_EQ(screen, PicturePixels(picture));

    for (int button : {app::kWaterButton, app::kObjectsButton, app::kGhostButton}) {
        SCOPED_TRACE(button);
        Press(button);
        EXPECT_EQ(ui->ShownPicture(kPicture), picture);  // shown by reference
        const auto drawn = ScreenPicture();
        EXPECT_GT(CountDifferent(screen, drawn), 50);  // the overlay reached the screen
        EXPECT_EQ(drawn, PicturePixels(picture));
        screen = drawn;
    }

    const std::string jpeg = (scratch / "shot").string();  // no extension is added
    ui->answers = {jpeg};
    Press(app::kSaveButton);
    EXPECT_EQ(NewestStatusLine(), "Image saved");
    const auto jpegBytes = ReadBytes(jpeg);
    ASSERT_GT(jpegBytes.size(), 1000u);
    EXPECT_EQ(jpegBytes[0], 0xFF);
    EXPECT_EQ(jpegBytes[1], 0xD8);

    const std::string car = (scratch / "bora.car").string();
    ui->answers = {"3", car};
    Press(app::kCarButton);
    EXPECT_EQ(NewestStatusLine(), "Bora RS saved");
    EXPECT_EQ(std::filesystem::file_size(car), 8u + 1344u);

    std::vector<std::string> kinds;
    for (const auto& d : ui->dialogs) kinds.push_back(d.kind + ":" + d.title);
    EXPECT_EQ(kinds, (std::vector<std::string>{"open:Select Track", "save:Save Image",
                                               "input:save car", "save:save car"}));
}

TEST_F(GuiTest, DroppedTrackLoadsAsIfChosenInTheOpenDialog) {
    const std::string track = WriteDemoTrack("Lake side.trk");
    std::string uri = "file://";
    for (char c : track) uri += c == ' ' ? std::string("%20") : std::string(1, c);

    ui->DropOnControl(kPicture, "file:///tmp/notes.txt\r\n");
    EXPECT_FALSE(ui->HasQueuedEvent());

    for (int target : {kPicture, kStatusLog, kInfoBox}) {
        SCOPED_TRACE(target);
        ui->dialogs.clear();
        EXPECT_TRUE(ui->DropOnControl(target, "file:///tmp/notes.txt\r\n" + uri + "\r\n"));
        ASSERT_TRUE(ui->HasQueuedEvent());
        RunQueued();
        EXPECT_EQ(
            InfoText().substr(0, InfoText().find('\n')),
            "Lake side.trk   " + std::to_string(std::filesystem::file_size(track)) + " Bytes");
        EXPECT_NE(ui->ShownPicture(kPicture), nullptr);
        ASSERT_EQ(ui->dialogs.size(), 1u);  // answered without opening
        EXPECT_EQ(ui->dialogs[0].title, "Select Track");
    }
    // The dropped text went nowhere else.
    EXPECT_EQ(InfoText().find("file://"), std::string::npos);
}

TEST_F(GuiTest, TrackFromTheCommandLineSetsTheDirectoryOfTheNextLoad) {
    const std::string track = WriteDemoTrack("Lakeside.trk");
    ui->PreAnswerOpenDialog(track);
    shell::RunButton(app::kLoadButton);
    EXPECT_NE(ui->ShownPicture(kPicture), nullptr);

    // Only the first dialog was answered; the next load asks, in its folder.
    ui->dialogs.clear();
    Press(app::kLoadButton);
    ASSERT_EQ(ui->dialogs.size(), 1u);
    EXPECT_EQ(ui->dialogs[0].defaultText, scratch.string() + "/");
}

// The surface may free the picture the control shows (a refused rebuild,
// shut-down); the control must then stop drawing it, not read freed memory.
TEST_F(GuiTest, PictureControlDrawsNothingOnceThePictureIsGone) {
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    Press(app::kLoadButton);
    ASSERT_NE(ui->ShownPicture(kPicture), nullptr);
    const auto shown = ScreenPicture();

    platform::FreeSurface();
    ui->ShowPicture(kPicture, ui->ShownPicture(kPicture));  // forces a redraw
    const auto after = ScreenPicture();
    EXPECT_NE(after, shown);
    EXPECT_EQ(CountDifferent(after, std::vector<raster::Colour>(after.size(), after[0])), 0);
}

}  // namespace
