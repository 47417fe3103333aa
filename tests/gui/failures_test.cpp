// The window tried as a careless user would: files that cannot be read,
// outputs that are no files, and drops that are no files.
#include <sys/stat.h>

#include <fstream>

#include "gui_fixture.h"

namespace {

std::string FileUri(const std::string& path) {
    std::string uri = "file://";
    for (char c : path) uri += c == ' ' ? std::string("%20") : std::string(1, c);
    return uri;
}

// A file that cannot be read used to be listed under its own name with the
// previous track's size and data; a later save or Car then exported the old
// track under the new name. Now the log says why, and nothing else changes.
TEST_F(GuiTest, AFailedLoadIsReportedAndKeepsTheTrack) {
    // As `track-analyse missing.trk` starts: nothing listed, no version caution.
    ui->PreAnswerOpenDialog((scratch / "missing.trk").string());
    shell::RunButton(app::kLoadButton);
    ui->Flush();
    EXPECT_EQ(NewestStatusLine(), "Caution: missing.trk: No such file or directory");
    EXPECT_EQ(InfoText(), "");
    EXPECT_EQ(StatusText().find("Version"), std::string::npos);
    EXPECT_EQ(ui->ShownPicture(kPicture), nullptr);

    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    Press(app::kLoadButton);
    Press(app::kWaterButton);
    const std::string listing = InfoText();
    const auto screen = ScreenPicture();
    const std::string pictureName = app::state.PictureName;
    ASSERT_NE(ui->ShownPicture(kPicture), nullptr);

    std::filesystem::create_directory(scratch / "folder.trk");
    ASSERT_EQ(::mkfifo((scratch / "pipe.trk").c_str(), 0644), 0);
    const struct {
        std::string path, message;
    } cases[] = {
        {(scratch / "gone.trk").string(), "Caution: gone.trk: No such file or directory"},
        {(scratch / "folder.trk").string(), "Caution: folder.trk: Is a directory"},
        {(scratch / "pipe.trk").string(), "Caution: pipe.trk: not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ui->answers = {c.path};
        Press(app::kLoadButton);
        EXPECT_EQ(NewestStatusLine(), c.message);
        EXPECT_EQ(InfoText(), listing);
        EXPECT_EQ(ScreenPicture(), screen);  // the water stays drawn, too
        EXPECT_EQ(app::state.PictureName, pictureName);
    }
    // The same by drop.
    ASSERT_TRUE(ui->DropOnControl(kPicture, FileUri((scratch / "dropped gone.trk").string())));
    RunQueued();
    EXPECT_EQ(NewestStatusLine(), "Caution: dropped gone.trk: No such file or directory");
    EXPECT_EQ(InfoText(), listing);

    // Save and Car still work on the track that is shown, under its names.
    ui->dialogs.clear();
    ui->answers = {(scratch / "shot.jpg").string(), "3", (scratch / "bora.car").string()};
    Press(app::kSaveButton);
    EXPECT_EQ(NewestStatusLine(), "Image saved");
    Press(app::kCarButton);
    EXPECT_EQ(NewestStatusLine(), "Bora RS saved");
    ASSERT_EQ(ui->dialogs.size(), 3u);
    EXPECT_NE(ui->dialogs[0].defaultText.find(pictureName + ".jpg"), std::string::npos);
    EXPECT_NE(ui->dialogs[2].defaultText.find("Bora RS.car"), std::string::npos);
}

// A FIFO as the file of save or Car froze the window until someone read it,
// which then said "Image saved".
TEST_F(GuiTest, SaveAndCarRefuseAFifoWithoutBlocking) {
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    Press(app::kLoadButton);
    const auto jpeg = scratch / "ff.jpg";
    const auto car = scratch / "ff.car";
    ASSERT_EQ(::mkfifo(jpeg.c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(car.c_str(), 0644), 0);

    ui->answers = {jpeg.string()};
    Press(app::kSaveButton);
    EXPECT_EQ(NewestStatusLine(), "Image not saved: ff.jpg is not a regular file");
    ui->answers = {"2", car.string()};
    Press(app::kCarButton);
    EXPECT_EQ(NewestStatusLine(), "Car not saved: ff.car is not a regular file");
    EXPECT_EQ(StatusText().find("saved\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_fifo(jpeg));
    EXPECT_TRUE(std::filesystem::is_fifo(car));

    // A folder that is a file: the status line names the file it meant.
    std::ofstream(scratch / "plain") << "x";
    ui->answers = {(scratch / "plain/x.jpg").string()};
    Press(app::kSaveButton);
    EXPECT_EQ(NewestStatusLine(), "Image not saved: x.jpg: Not a directory");
    ui->answers = {"2", (scratch / "plain/x.car").string()};
    Press(app::kCarButton);
    EXPECT_EQ(NewestStatusLine(), "Car not saved: x.car: Not a directory");

    // The track itself is no output either.
    ui->answers = {(scratch / "Lakeside.trk").string()};
    Press(app::kSaveButton);
    EXPECT_EQ(NewestStatusLine(), "Image not saved: Lakeside.trk is the track being read");
}

// A dropped picture's URI was pasted into the listing; text and other URIs
// are no file drops either.
TEST_F(GuiTest, OnlyDroppedTrackFilesAreTaken) {
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    Press(app::kLoadButton);
    const std::string listing = InfoText();
    const std::string picture = FileUri((scratch / "picture.png").string());
    for (const std::string& drop :
         {picture + "\r\n", std::string("just some text"), std::string("/plain/path/x.trk"),
          std::string("http://example.org/x.trk\r\n")}) {
        for (int target : {kInfoBox, kStatusLog, kPicture}) {
            SCOPED_TRACE(drop + " on " + std::to_string(target));
            ui->DropOnControl(target, drop);
            EXPECT_FALSE(ui->HasQueuedEvent());
            EXPECT_EQ(InfoText(), listing);
        }
    }
}

}  // namespace
