#include <gtest/gtest.h>

#include <algorithm>

#include "app/state.h"

TEST(State, ReinitialisingClearsTheBufferItKeeps) {
    app::InitialiseState();
    auto& bytes = app::state.TrackBuffer;
    bytes[0] = 0x05;
    app::NoteBufferWrite(0, 1);
    std::fill(bytes.end() - 3, bytes.end(), std::uint8_t{0xFF});
    app::NoteBufferWrite(app::kTrackBufferSize - 3, 3);
    // Noted writes beyond the buffer are cut to it; overlapping ones join.
    std::fill(bytes.begin() + 500, bytes.begin() + 700, std::uint8_t{0x11});
    app::NoteBufferWrite(600, 100);
    app::NoteBufferWrite(500, 150);
    app::NoteBufferWrite(app::kTrackBufferSize - 1, 1'000);
    app::NoteBufferWrite(-5, 2);
    EXPECT_EQ(app::state.TrackBufferWrites.size(), 3u);
    app::state.TrackFileSize = 17;
    app::state.BestName = "Bob";

    app::InitialiseState();
    const auto& buffer = app::state.TrackBuffer;
    ASSERT_EQ(buffer.size(), static_cast<std::size_t>(app::kTrackBufferSize));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(app::state.TrackFileSize, app::kTrackBufferSize);
    EXPECT_EQ(app::state.BestName, "");
}

// The first buffer of a process is not written with zeros but taken zeroed;
// memory handed back dirty and taken again, or a buffer left at another size,
// must still come out all zero.
TEST(State, AFreshBufferIsZeroWhateverItsMemoryHeldBefore) {
    const auto allZero = [](const app::TrackBytes& bytes) {
        return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
    };
    for (int round = 0; round < 3; ++round) {
        app::TrackBytes bytes(app::kTrackBufferSize);
        ASSERT_TRUE(allZero(bytes)) << "round " << round;
        std::fill(bytes.begin(), bytes.end(), std::uint8_t{0xAB});
        app::TrackBytes small(4096);
        ASSERT_TRUE(allZero(small)) << "round " << round;
        std::fill(small.begin(), small.end(), std::uint8_t{0xCD});
    }

    app::state.TrackBuffer = app::TrackBytes(100, 0xEE);
    app::InitialiseState();
    ASSERT_EQ(app::state.TrackBuffer.size(), static_cast<std::size_t>(app::kTrackBufferSize));
    EXPECT_TRUE(allZero(app::state.TrackBuffer));
}
