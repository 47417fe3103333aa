// Hand-made laps with known answers, for the lap model and its charts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "trackgen/track_writer.h"

// A straight leg of equal steps.
struct Leg {
    int dx, dy;  // units a step
    int steps;
};

// Frames from `start` along the legs.
inline std::vector<trackgen::GhostFrame> Walk(trackgen::GhostFrame start,
                                              const std::vector<Leg>& legs) {
    std::vector<trackgen::GhostFrame> frames = {start};
    for (const Leg& leg : legs) {
        for (int i = 0; i < leg.steps; ++i) {
            const trackgen::GhostFrame& p = frames.back();
            frames.push_back({static_cast<std::uint16_t>(p.x + leg.dx),
                              static_cast<std::uint16_t>(p.y + leg.dy)});
        }
    }
    return frames;
}

// A track at world size 100 whose place 1 drove `frames`, in a second a
// step unless `placeTime` (hundredths) says otherwise.
inline trackgen::TrackContents LapTrack(std::vector<trackgen::GhostFrame> frames,
                                        std::optional<int> placeTime = {}) {
    trackgen::TrackContents t;
    t.worldSize = 100;
    t.placeTimes[0] =
        static_cast<std::int16_t>(placeTime.value_or(100 * (static_cast<int>(frames.size()) - 1)));
    t.ghost = std::move(frames);
    return t;
}

// A square of 1,200 units a side from (3000, 3000), 300 units a second;
// the second one drives its right side at 100.
inline const std::vector<trackgen::GhostFrame> kFastSquare =
    Walk({3000, 3000}, {{300, 0, 4}, {0, 300, 4}, {-300, 0, 4}, {0, -300, 4}});
inline const std::vector<trackgen::GhostFrame> kSlowSideSquare =
    Walk({3000, 3000}, {{300, 0, 4}, {0, 100, 12}, {-300, 0, 4}, {0, -300, 4}});
