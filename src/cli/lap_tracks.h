// Tracks read for their laps, for `trk lap` and `trk compare`, and what
// both commands say about the lap model.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/load.h"
#include "lap/lap.h"
#include "platform/safe_file.h"
#include "track/track.h"

namespace cli {

// The model as the help texts state it.
extern const char* const kLapModelHelp;

struct LapTrack {
    std::unique_ptr<Workspace> space;  // the file's room, which `track` views
    track::Track track;
    lap::Lap lap;
    platform::FileIdentity identity;
};

// Reads the track at `path` (- for standard input) as every command reads
// one, and place 1's lap on it. When it cannot be read, is refused or has no
// lap ("PATH: no ghost lap"), says why on the error stream, sets `exitCode`
// (2 when refused, else 1) and gives nothing.
std::optional<LapTrack> ReadLapTrack(const std::string& path, int& exitCode);

// `value` with `decimals` decimals, as the C locale writes it.
std::string Fixed(double value, int decimals);

}  // namespace cli
