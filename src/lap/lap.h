// Place 1's lap as the ghost frames tell it: where the car was, how far it
// had driven and how fast it went, frame by frame; the lap's summary; and a
// second lap of the same map measured along the first one's path. The one
// model of a lap, for trk, the overlays, the charts and the window's
// read-out. Plain functions of values: any number of laps at once, on any
// thread.
//
// The model: the N frames are equally spaced in time over place 1's time
// T, frame f at f * T / (N - 1). Positions are in ghost units; distances
// are straight lines between consecutive frames; the speed at frame f >= 1
// is the distance from frame f - 1 over the frame step, in ghost units per
// second, and frame 0 takes frame 1's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "track/track.h"

namespace lap {

struct Sample {
    int frame = 0;
    double time = 0;  // seconds into the lap
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    int column = -1;  // on the picture, where the ghost overlay puts the frame
    int row = -1;
    double distance = 0;  // ghost units driven since frame 0
    double speed = 0;     // ghost units per second
};

struct Lap {
    std::int16_t lapTime = 0;  // place 1's time, hundredths of a second
    int frameCount = 0;        // as the file states it
    double frameStep = 0;      // seconds from one frame to the next
    // The frames that lie inside the file: all of them, unless the file
    // ends early.
    std::vector<Sample> samples;

    bool Whole() const { return static_cast<int>(samples.size()) == frameCount; }
    double Length() const { return samples.empty() ? 0.0 : samples.back().distance; }
    double Duration() const { return samples.empty() ? 0.0 : samples.back().time; }
};

// Place 1's lap; nothing when the track has none: place 1 has no time (none
// above 0, or 6000 or more), or fewer than two frames lie inside the file.
std::optional<Lap> ReadLap(const track::Track& track);

struct Summary {
    double averageSpeed = 0;  // length over the time driven
    Sample top;               // the fastest frame (the first of equals)
    // The slowest frame that has a faster frame both before and after it:
    // the bottom of the slowest corner. Nothing when the speed only rises
    // or only falls.
    std::optional<Sample> slowest;
    // Seconds to drive each third of the length.
    std::array<double, 3> sectors{};
};
Summary Summarise(const Lap& lap);

// The time at which the lap first reaches `distance` (ghost units),
// between frames by straight lines; clamped to the lap's start and end.
double TimeAtDistance(const Lap& lap, double distance);

// The frame drawn nearest to picture point (column, row), if one lies
// within `reach` pixels on both axes; of equally near ones the first.
std::optional<Sample> NearestSample(const Lap& lap, int column, int row, int reach);

// Whether two tracks lie on one map: the same world size, landmap and
// height map, byte for byte.
bool SameMap(const track::Track& a, const track::Track& b);

// A row of lap B measured along lap A's path, at one of A's frames.
struct AlignedRow {
    double distance = 0;  // along A's path, ghost units
    double timeA = 0;     // seconds
    double timeB = 0;     // when B passed the same place
    double gap = 0;       // timeB - timeA: grows where B loses time
    double speedA = 0;    // ghost units per second
    double speedB = 0;
};

// B's frames matched to A's path by position: each projected onto A's line,
// never backwards and only as far ahead as B could have driven, so that a
// lap's finish never matches its start. Both laps start and end at the
// line, so the first row's gap is 0 and the last row's is B's time less
// A's. One row per frame of A.
std::vector<AlignedRow> Align(const Lap& a, const Lap& b);

// Rows `first` to `last` of an aligned table, over which B loses `loss`
// seconds.
struct Stretch {
    std::size_t first = 0;
    std::size_t last = 0;
    double loss = 0;
};

// Up to `count` stretches where B loses most, the greatest first: the
// greatest rise of the gap over at most an eighth of A's length, then the
// greatest outside it, and so on; without the nearly flat rows at their
// ends.
std::vector<Stretch> LosingStretches(std::span<const AlignedRow> rows, int count);

}  // namespace lap
