#include "support/fixture.h"

#include <sstream>

#include <unistd.h>

#include "app/state.h"
#include "app/window_layout.h"
#include "platform/paths.h"
#include "platform/surface.h"
#include "shell/dispatch.h"

void ActionTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps two runs of one test (two builds, two checkouts)
    // out of each other's folders.
    scratch = std::filesystem::temp_directory_path() /
              ("ta-test-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
    platform::UseWindowing(&ui);
    app::InitialiseState();
}

void ActionTest::TearDown() {
    platform::UseWindowing(nullptr);
    platform::FreeSurface();
    std::filesystem::remove_all(scratch);
}

std::string ActionTest::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = platform::PathText(scratch / platform::FsPath(name));
    EXPECT_TRUE(trackgen::SaveFile(path, bytes));
    return path;
}

void ActionTest::Load(const std::string& path) {
    ui.answers.push_back(path);
    shell::RunButton(app::kLoadButton);
}

std::string ActionTest::InfoText() const {
    const auto it = ui.texts.find(2);
    return it == ui.texts.end() ? "" : it->second;
}

std::vector<std::string> ActionTest::InfoLines() const {
    std::vector<std::string> lines;
    std::istringstream in(InfoText());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string ActionTest::StatusText() const {
    const auto it = ui.texts.find(8);
    return it == ui.texts.end() ? "" : it->second;
}

std::string ActionTest::NewestStatusLine() const {
    return app::state.StatusLines[6];
}
