#include <gtest/gtest.h>

#include "app/state.h"
#include "app/status_log.h"
#include "platform/paths.h"
#include "platform/windowing.h"
#include "raster/colour.h"
#include "support/fixture.h"

namespace {

using StatusLog = ActionTest;

void Post(const std::string& message) {
    app::state.StatusMessage = message;
    app::PostStatus();
}

TEST_F(StatusLog, StartsWithSixPromptLines) {
    EXPECT_EQ(app::state.StatusMessage, "> ");
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(app::state.StatusLines[i], "> ");
    Post("ready...");
    EXPECT_EQ(StatusText(), "> \r\n> \r\n> \r\n> \r\n> \r\nready...\r\n");
    EXPECT_EQ(app::state.StatusMessage, StatusText());
}

TEST_F(StatusLog, KeepsTheNewestSixAndCutsLongLines) {
    for (int i = 1; i <= 7; ++i) Post("m" + std::to_string(i));
    EXPECT_EQ(StatusText(), "m2\r\nm3\r\nm4\r\nm5\r\nm6\r\nm7\r\n");

    Post(std::string(100, 'x'));
    EXPECT_EQ(app::state.StatusLines[6], std::string(100, 'x'));
    Post(std::string(99, 'y') + "\xE4z");
    EXPECT_EQ(app::state.StatusLines[6], std::string(99, 'y') + "\xE4");
    Post("");
    EXPECT_EQ(app::state.StatusLines[6], "");
    EXPECT_EQ(app::state.StatusLines[1], "m5");
}

TEST(InfoList, LinesAreJoinedAndAnEmptyFirstLineWaits) {
    platform::ScriptedWindowing ui;
    platform::UseWindowing(&ui);
    const auto appendAll = [](std::initializer_list<const char*> lines) {
        platform::ClearInfoList(2);
        for (const char* line : lines) platform::AppendInfoLine(2, line);
    };
    appendAll({"a", "b", "c"});
    EXPECT_EQ(ui.texts[2], "a\nb\nc");
    appendAll({"x"});
    EXPECT_EQ(ui.texts[2], "x");
    appendAll({""});
    EXPECT_EQ(ui.texts[2], "");
    appendAll({"", "a"});
    EXPECT_EQ(ui.texts[2], "\na");
    appendAll({"", "", "a"});
    EXPECT_EQ(ui.texts[2], "\n\na");
    appendAll({"a", ""});
    EXPECT_EQ(ui.texts[2], "a\n");
    platform::UseWindowing(nullptr);
    platform::AppendInfoLine(2, "nobody listens");  // no backend: nothing happens
}

TEST(InitialState, TablesAndBufferHaveTheirStartValues) {
    app::InitialiseState();
    const app::AnalyserState& s = app::state;
    EXPECT_EQ(s.PictureData - s.TrackData, 1'000'000);
    EXPECT_EQ(s.TrackBuffer.size(), 2'000'000u);
    EXPECT_TRUE(
        std::all_of(s.TrackBuffer.begin(), s.TrackBuffer.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(s.TrackFileSize, 2'000'000);
    EXPECT_EQ(s.ObjectColourTable[11], raster::RgbColour(255, 0, 0));
    EXPECT_EQ(s.ObjectColourTable[7], raster::RgbColour(246, 251, 254));
    for (int i = 13; i <= 16; ++i) {
        EXPECT_EQ(s.ObjectColourTable[i], 0);
        EXPECT_EQ(s.TerrainIndexTable[i], 0);
    }
    EXPECT_EQ(s.TerrainIndexTable[3], 154);
    EXPECT_EQ(s.TrackDirectory.back(), platform::kPathSeparator);
    EXPECT_EQ(s.TrackDirectory.find(std::string(2, platform::kPathSeparator)), std::string::npos);
}

}  // namespace
