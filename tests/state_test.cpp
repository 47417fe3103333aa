#include <gtest/gtest.h>

#include <algorithm>

#include "app/state.h"

TEST(State, ReinitialisingClearsTheBufferItKeeps) {
    app::InitialiseState();
    app::state.TrackBuffer[0] = 0x05;
    app::state.TrackBuffer[app::kTrackBufferSize - 1] = 0xFF;
    app::state.TrackFileSize = 17;
    app::state.BestName = "Bob";

    app::InitialiseState();
    const auto& buffer = app::state.TrackBuffer;
    ASSERT_EQ(buffer.size(), static_cast<std::size_t>(app::kTrackBufferSize));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(app::state.TrackFileSize, app::kTrackBufferSize);
    EXPECT_EQ(app::state.BestName, "");
}
