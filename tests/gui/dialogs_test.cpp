#include <fstream>

#include "gui_fixture.h"
#include "platform/fltk/fltk_text.h"

namespace {

using platform::fltk::ChooserFilter;
using platform::fltk::DroppedTrackPath;

// The real dialogs, opened by the backend and driven like a user would.
class DialogTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        ui->ScriptDialogs(false);
    }
    std::optional<OpenDialogInfo> seen;
};

TEST_F(DialogTest, InputDialogIsCentredModalAndAnswersWithOkOrEnter) {
    ui->DriveNextDialog([&] {
        seen = ui->CurrentDialog();
        ui->ClickControl(app::kWaterButton);  // the main window takes no input now
        ui->TypeText("3");
        ui->PressEnter();
    });
    EXPECT_EQ(ui->InputDialog("save car", "Select No.  0 (Best), 1-6", ""), "3");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->title, "save car");
    EXPECT_EQ(seen->width, 300);
    EXPECT_EQ(seen->height, 130);
    EXPECT_EQ(seen->x, 1280 / 2 - 150);
    EXPECT_EQ(seen->y, 1024 / 2 - 65);
    EXPECT_TRUE(seen->inputHasFocus);
    EXPECT_FALSE(ui->HasQueuedEvent());

    // The default text stands with the caret after it; the answer is Windows-1252.
    ui->DriveNextDialog([&] {
        seen = ui->CurrentDialog();
        ui->TypeText("\xC3\xA4");
        ui->ClickAt(150, 79);  // "OK"
    });
    EXPECT_EQ(ui->InputDialog("t", "p", "ab"), "ab\xE4");
    EXPECT_EQ(seen->focusedText, "ab");
}

TEST_F(DialogTest, InputDialogGivesEmptyTextOnEscapeCloseAndEmptyOk) {
    ui->DriveNextDialog([&] { ui->PressEscape(); });
    EXPECT_EQ(ui->InputDialog("save car", "Select No.", "5"), "");
    ui->DriveNextDialog([&] { ui->PressEnter(); });
    EXPECT_EQ(ui->InputDialog("save car", "Select No.", ""), "");
}

TEST_F(DialogTest, SaveDialogStartsAtTheDefaultAndReturnsExactlyTheTypedName) {
    const std::string existing = (scratch / "old.jpg").string();
    std::ofstream(existing) << "x";

    ui->DriveNextDialog([&] {
        seen = ui->CurrentDialog();
        ui->SetFocusedInput(existing);
        ui->PressEnter();  // no overwrite question may stop it
    });
    EXPECT_EQ(ui->SaveFileDialog("Save Image", (scratch / "Lakeside.jpg").string(), "jpg|*.jpg", 0),
              existing);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->title, "Save Image");
    EXPECT_TRUE(seen->inputHasFocus);
    EXPECT_NE(seen->focusedText.find("Lakeside.jpg"), std::string::npos);

    ui->DriveNextDialog([&] {
        ui->SetFocusedInput((scratch / "plain").string());
        ui->PressEnter();
    });
    EXPECT_EQ(ui->SaveFileDialog("Save Image", scratch.string() + "/a.jpg", "jpg|*.jpg", 0),
              (scratch / "plain").string());

    // A name the system would refuse is not offered; cancel answers "".
    ui->DriveNextDialog([&] {
        seen = ui->CurrentDialog();
        ui->PressEscape();
    });
    EXPECT_EQ(ui->SaveFileDialog("save car", scratch.string() + "/what?.car", "car|*.car", 0), "");
    EXPECT_EQ(seen->focusedText.find("what"), std::string::npos);
}

TEST_F(DialogTest, OpenDialogPicksAnExistingTrack) {
    const std::string track = WriteDemoTrack("Lakeside.trk");
    ui->DriveNextDialog([&] {
        seen = ui->CurrentDialog();
        ui->SetFocusedInput(track);
        ui->PressEnter();
    });
    EXPECT_EQ(ui->OpenFileDialog("Select Track", scratch.string() + "/", "trk|*.trk", 0), track);
    EXPECT_EQ(seen->title, "Select Track");
}

TEST(FltkText, FilterBecomesChooserLines) {
    EXPECT_EQ(ChooserFilter("trk|*.trk"), "trk\t*.trk");
    EXPECT_EQ(ChooserFilter("jpg|*.jpg|all|*"), "jpg\t*.jpg\nall\t*");
}

TEST(FltkText, DroppedListYieldsTheFirstLocalTrack) {
    EXPECT_EQ(DroppedTrackPath("file:///home/a%20b/%C3%A4.trk\r\n"), "/home/a b/\xC3\xA4.trk");
    EXPECT_EQ(DroppedTrackPath("file:///plain/path.TRK"), "/plain/path.TRK");
    EXPECT_EQ(DroppedTrackPath("/plain/path.trk"), std::nullopt);  // text, not a file
    EXPECT_EQ(DroppedTrackPath("http://host/x.trk"), std::nullopt);
    EXPECT_EQ(DroppedTrackPath("file://localhost/x.trk"), "/x.trk");
    EXPECT_EQ(DroppedTrackPath("# comment\nfile:///a.txt\nfile:///b.trk\nfile:///c.trk"), "/b.trk");
    EXPECT_EQ(DroppedTrackPath("file://otherhost/x.trk"), std::nullopt);
    EXPECT_EQ(DroppedTrackPath("file:///x%00.trk"), std::nullopt);
    EXPECT_EQ(DroppedTrackPath("file:///dir/.trk"), std::nullopt);
    EXPECT_EQ(DroppedTrackPath("relative.trk"), std::nullopt);
    EXPECT_EQ(DroppedTrackPath("file:///bad%zz.trk"), "/bad%zz.trk");
    EXPECT_EQ(DroppedTrackPath(""), std::nullopt);
}

}  // namespace
