#include "gui_fixture.h"

#include "demo_track.h"
#include "platform/windowing.h"
#include "shell/startup.h"

void GuiTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch = std::filesystem::temp_directory_path() /
              ("ta-gui-" + std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);

    platform::UseFileChooser(platform::FileChooserKind::kFltk);
    WindowProbe::ParkPointer();
    ui = std::make_unique<WindowProbe>();
    ui->ScriptDialogs(true);
    ui->SetDropLoadButton(app::kLoadButton);
    platform::UseWindowing(ui.get());
    shell::StartUp();
    ui->Flush();
}

void GuiTest::TearDown() {
    platform::UseWindowing(nullptr);
    platform::FreeSurface();
    ui.reset();
    std::filesystem::remove_all(scratch);
}

bool GuiTest::RunQueued() {
    while (ui->HasQueuedEvent()) {
        if (shell::HandleEvent(platform::WaitEvent())) return true;
    }
    return false;
}

void GuiTest::Press(int control) {
    ASSERT_TRUE(ui->ClickControl(control));
    ASSERT_TRUE(ui->HasQueuedEvent()) << "control " << control << " did not report the click";
    RunQueued();
}

std::string GuiTest::WriteDemoTrack(const std::string& name) {
    const std::string path = (scratch / name).string();
    EXPECT_TRUE(trackgen::SaveFile(path, trackgen::WriteTrack(gui_test::DemoTrack())));
    return path;
}

std::string GuiTest::NewestStatusLine() const {
    std::string text = StatusText();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const auto cut = text.rfind('\n');
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

std::vector<raster::Colour> GuiTest::PicturePixels(platform::PictureRef picture) {
    if (!picture) return {};
    return {picture->pixels.begin(), picture->pixels.end()};
}
