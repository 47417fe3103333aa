#include "app/status_log.h"
#include "gui_fixture.h"
#include "shell/startup.h"

namespace {

struct Expected {
    int id, x, y, w, h;
    const char* caption;
};

TEST_F(GuiTest, StartUpShowsTheFixedWindowWithItsNineControlsAndReady) {
    EXPECT_EQ(ui->Title(), "Velocitra Track Analyse");
    const ControlInfo window = ui->WindowGeometry();
    EXPECT_EQ(window.x, 10);
    EXPECT_EQ(window.y, 10);
    EXPECT_EQ(window.width, 1000);
    EXPECT_EQ(window.height, 720);
    EXPECT_TRUE(ui->FixedSize());
    EXPECT_EQ(ui->IconSizes(), (std::vector<int>{16, 32, 48}));

    const Expected controls[] = {
        {2, 10, 10, 400, 600, ""},       {8, 10, 620, 400, 80, nullptr},
        {1, 450, 10, 512, 560, ""},      {11, 450, 620, 50, 24, "load"},
        {12, 510, 620, 50, 24, "water"}, {14, 570, 620, 50, 24, "Objects"},
        {15, 630, 620, 50, 24, "Ghost"}, {13, 690, 620, 50, 24, "save"},
        {16, 780, 620, 50, 24, "Car"},
    };
    for (const Expected& e : controls) {
        SCOPED_TRACE(e.id);
        const auto control = ui->Control(e.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->x, e.x);
        EXPECT_EQ(control->y, e.y);
        EXPECT_EQ(control->width, e.w);
        EXPECT_EQ(control->height, e.h);
        if (e.caption) {
            EXPECT_EQ(control->caption, e.caption);
        }
    }

    EXPECT_EQ(InfoText(), "");
    EXPECT_EQ(StatusText(), "> \n> \n> \n> \n> \nready...\n");
    EXPECT_EQ(ui->ShownPicture(kPicture), nullptr);
    EXPECT_FALSE(ui->HasQueuedEvent());
}

TEST_F(GuiTest, TabAndShiftTabMoveTheFocusInCreationOrder) {
    ui->ClickControl(kInfoBox);
    ASSERT_EQ(ui->FocusedControl(), kInfoBox);
    ui->TypeText("ab");
    const int order[] = {11, 12, 14, 15, 13, 16, kInfoBox, 11};
    for (int expected : order) {
        ui->PressTab(false);
        EXPECT_EQ(ui->FocusedControl(), expected);
    }
    ui->PressTab(true);
    EXPECT_EQ(ui->FocusedControl(), kInfoBox);
    ui->PressTab(true);
    EXPECT_EQ(ui->FocusedControl(), 16);
    // The box is editable, and Tab inserted nothing into it.
    EXPECT_EQ(InfoText(), "ab");
}

TEST_F(GuiTest, TypingInTheInfoBoxOrClickingThePictureReportsButStartsNothing) {
    const std::string before = StatusText();
    ui->ClickControl(kInfoBox);
    ui->TypeText("x");
    ASSERT_TRUE(ui->HasQueuedEvent());
    EXPECT_EQ(platform::WaitEvent(), platform::kControlEvent);
    EXPECT_EQ(platform::EventControl(), kInfoBox);
    RunQueued();

    ui->ClickControl(kPicture);
    ASSERT_TRUE(ui->HasQueuedEvent());
    EXPECT_EQ(platform::WaitEvent(), platform::kControlEvent);
    EXPECT_EQ(platform::EventControl(), kPicture);
    shell::RunButton(platform::EventControl());

    EXPECT_TRUE(ui->dialogs.empty());
    EXPECT_EQ(StatusText(), before);
}

TEST_F(GuiTest, CloseRequestEndsTheEventLoopWithZeroAndEscapeDoesNot) {
    ui->PressEscape();
    EXPECT_FALSE(ui->HasQueuedEvent());
    EXPECT_NE(ui->WindowGeometry().width, 0);

    // Presses queued before the close still run, in order.
    ui->ClickControl(app::kGhostButton);
    ui->RequestClose();
    EXPECT_EQ(shell::RunEventLoop(), 0);
    EXPECT_EQ(app::state.LastEvent, platform::kCloseEvent);
    EXPECT_EQ(ui->dialogs.size(), 0u);
    // The request alone closes nothing: the window goes with shut-down.
    EXPECT_EQ(ui->WindowGeometry().width, 1000);
}

TEST_F(GuiTest, StatusLogShowsWindows1252TextAndSymbolsAsTheyAre) {
    app::state.StatusMessage = "Trk-L\xE4nge & @Pfad";
    app::PostStatus();
    EXPECT_EQ(NewestStatusLine(), "Trk-L\xC3\xA4nge & @Pfad");
    EXPECT_EQ(StatusText(), "> \n> \n> \n> \nready...\nTrk-L\xC3\xA4nge & @Pfad\n");
}

}  // namespace
