// The desktop tool as a user meets it beyond the specified controls: keys,
// tooltips, the read-out under the pointer, the log's long lines and the
// window's class.
#include "app/actions.h"
#include "app/status_log.h"
#include "gui_fixture.h"
#include "lap/lap.h"
#include "platform/fltk/fltk_text.h"
#include "platform/windowing.h"
#include "shell/keys.h"

namespace {

using platform::Shortcut;
constexpr int kReadOut = app::kReadOutControl;

class DesktopTest : public GuiTest {
  protected:
    // The read-out after the pointer moved to picture point (x, y).
    std::string ReadOutAt(int x, int y) {
        ui->MovePointer(kPictureX + x, kPictureY + y);
        RunQueued();
        return ui->ControlText(kReadOut);
    }
};

TEST_F(DesktopTest, EveryKeyPressesItsButtonEvenFromTheInfoBox) {
    for (const bool fromInfoBox : {false, true}) {
        SCOPED_TRACE(fromInfoBox ? "info box focused" : "nothing focused");
        for (const shell::KeyBinding& binding : shell::kKeyBindings) {
            SCOPED_TRACE(binding.keyName);
            if (fromInfoBox) {
                ui->ClickControl(kInfoBox);
                RunQueued();
                ASSERT_EQ(ui->FocusedControl(), kInfoBox);
            }
            ui->PressKey(binding.key);
            ASSERT_TRUE(ui->HasQueuedEvent());
            const int code = platform::WaitEvent();
            if (binding.control == app::kMainWindow) {
                EXPECT_EQ(code, platform::kCloseEvent);
            } else {
                EXPECT_EQ(code, platform::kControlEvent);
                EXPECT_EQ(platform::EventControl(), binding.control);
            }
            EXPECT_FALSE(ui->HasQueuedEvent());
        }
    }
    // Keys the tool does not bind press no button (the info box may report
    // an edit, which starts nothing).
    ui->PressKey(Shortcut{true, false, 'x'});
    ui->PressKey(Shortcut{false, true, 'q'});
    while (ui->HasQueuedEvent()) {
        const int code = platform::WaitEvent();
        EXPECT_NE(code, platform::kCloseEvent);
        if (code == platform::kControlEvent) {
            EXPECT_EQ(platform::EventControl(), kInfoBox);
        }
    }
}

TEST_F(DesktopTest, CtrlOLoadsATrackAndCtrlQEndsTheLoop) {
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    ui->PressKey(Shortcut{true, false, 'o'});
    RunQueued();
    EXPECT_NE(ui->ShownPicture(kPicture), nullptr);
    ui->PressKey(Shortcut{true, false, 'q'});
    EXPECT_TRUE(RunQueued());
}

TEST_F(DesktopTest, EachButtonsTooltipNamesItsKey) {
    EXPECT_EQ(ui->Tooltip(app::kLoadButton), "Load a track (Ctrl+O)");
    EXPECT_EQ(ui->Tooltip(app::kWaterButton), "Draw the water (Alt+W)");
    EXPECT_EQ(ui->Tooltip(app::kObjectsButton), "Draw the objects (Alt+O)");
    EXPECT_EQ(ui->Tooltip(app::kGhostButton), "Draw the ghost lap (Alt+G)");
    EXPECT_EQ(ui->Tooltip(app::kSaveButton), "Save the picture as JPEG (Ctrl+S)");
    EXPECT_EQ(ui->Tooltip(app::kCarButton), "Save a stored car (Alt+C)");
}

TEST_F(DesktopTest, ReadOutTellsWhatLiesUnderThePointer) {
    EXPECT_EQ(ReadOutAt(256, 255), "");  // before any track
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    Press(app::kLoadButton);

    // The middle of the lake: deep water.
    EXPECT_EQ(ReadOutAt(256, 255),
              "picture 256, 255 \xC2\xB7 track 512, 512 \xC2\xB7 terrain 8 (220, 230, 239)\n"
              "height 10, under water (level 30)");
    // The hill top, far above the water.
    const std::string hill = ReadOutAt(440, 71);
    EXPECT_NE(hill.find("terrain 7 (245, 250, 255)"), std::string::npos) << hill;
    EXPECT_NE(hill.find(", dry (level 30)"), std::string::npos) << hill;
    // A tree of the ring around the lake, and the pit building.
    EXPECT_NE(ReadOutAt(421, 255).find("tree (10), heading 0"), std::string::npos);
    EXPECT_NE(ReadOutAt(230, 41).find("building (17), heading 0"), std::string::npos);
    // Always the core's own text for that point.
    EXPECT_EQ(ReadOutAt(17, 300), platform::fltk::DisplayText(app::ReadOutAt(17, 300)));

    // Off the map: the caption band, and outside the picture.
    EXPECT_EQ(ReadOutAt(100, 530), "");
    EXPECT_NE(ReadOutAt(256, 255), "");
    ui->MovePointer(200, 300);  // over the information box
    RunQueued();
    EXPECT_EQ(ui->ControlText(kReadOut), "");
}

TEST_F(DesktopTest, WhileTheGhostIsDrawnTheReadOutNamesTheFrameUnderThePointer) {
    const std::string track = WriteDemoTrack("Lakeside.trk");
    ui->answers = {track};
    Press(app::kLoadButton);
    const lap::Lap lap = *lap::ReadLap(app::RecordedTrack());
    const lap::Sample& s = lap.samples[lap.samples.size() / 2];
    const auto frameLine = [&] {
        const std::string text = ReadOutAt(s.column, s.row);
        const auto at = text.find("ghost frame ");
        return at == std::string::npos ? std::string() : text.substr(at);
    };
    EXPECT_EQ(frameLine(), "");
    Press(app::kGhostButton);
    const std::string line = frameLine();
    EXPECT_NE(line.find(" s into the lap"), std::string::npos) << line;
    EXPECT_NE(line.find("% of top"), std::string::npos) << line;
    EXPECT_EQ(ReadOutAt(5, 5).find("ghost frame"), std::string::npos);  // far from the lap
    // The next picture has no ghost until it is drawn again.
    ui->answers = {track};
    Press(app::kLoadButton);
    EXPECT_EQ(frameLine(), "");
}

TEST_F(DesktopTest, ReadOutFollowsALoadUnderAStillPointer) {
    EXPECT_EQ(ReadOutAt(256, 255), "");
    ui->answers = {WriteDemoTrack("Lakeside.trk")};
    ui->PressKey(Shortcut{true, false, 'o'});
    RunQueued();
    EXPECT_NE(ui->ControlText(kReadOut).find("terrain 8"), std::string::npos);
}

TEST_F(DesktopTest, ReadOutStandsInTheFreeCornerAndOverlapsNoControl) {
    const auto readOut = ui->Control(kReadOut);
    ASSERT_TRUE(readOut);
    EXPECT_LE(readOut->x + readOut->width, 1000);
    EXPECT_LE(readOut->y + readOut->height, 720);
    for (int id : {kInfoBox, kStatusLog, kPicture, 11, 12, 13, 14, 15, 16}) {
        const auto other = ui->Control(id);
        ASSERT_TRUE(other) << id;
        const bool apart =
            readOut->x >= other->x + other->width || other->x >= readOut->x + readOut->width ||
            readOut->y >= other->y + other->height || other->y >= readOut->y + readOut->height;
        EXPECT_TRUE(apart) << "overlaps control " << id;
    }
}

TEST_F(DesktopTest, TheLogShowsItsNewestLineWholeAndCutsLongLinesWithAnEllipsis) {
    std::string longLine;
    while (longLine.size() < 100) longLine += "word" + std::to_string(longLine.size()) + " ";
    longLine.resize(100);
    app::state.StatusMessage = longLine + "tail";
    app::PostStatus();
    app::state.StatusMessage = "newest";
    app::PostStatus();
    ui->Flush();

    // The stored text keeps the 100-character rule.
    EXPECT_NE(StatusText().find(longLine + "\n"), std::string::npos);
    const std::vector<std::string> lines = ui->ShownLines(kStatusLog);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "newest");
    EXPECT_EQ(lines[3], "ready...");
    const std::string cut = lines[4];
    ASSERT_GT(cut.size(), 3u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "\xE2\x80\xA6");
    EXPECT_EQ(longLine.rfind(cut.substr(0, cut.size() - 3), 0), 0u);
    EXPECT_LT(cut.size(), longLine.size());
}

TEST_F(DesktopTest, WindowClassTiesTheWindowToItsDesktopEntry) {
    EXPECT_EQ(ui->WindowClass(), "track-analyse/track-analyse");
}

TEST(CutToWidth, KeepsWhatFitsAndCutsAtCharacterBoundaries) {
    using platform::fltk::CutToWidth;
    // One unit per byte: "…" (3 bytes) is 3 wide.
    const auto bytes = [](std::string_view text) { return static_cast<double>(text.size()); };
    EXPECT_EQ(CutToWidth("short", 5, bytes), "short");
    EXPECT_EQ(CutToWidth("longer", 5, bytes), "lo\xE2\x80\xA6");
    EXPECT_EQ(CutToWidth("x", 0, bytes), "\xE2\x80\xA6");
    // "ä" is two bytes: never split.
    EXPECT_EQ(CutToWidth("a\xC3\xA4xyzw", 5, bytes), "a\xE2\x80\xA6");
    EXPECT_EQ(CutToWidth("a\xC3\xA4xyzw", 6, bytes), "a\xC3\xA4\xE2\x80\xA6");
}

}  // namespace
