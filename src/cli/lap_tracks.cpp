#include "cli/lap_tracks.h"

#include <cstdio>
#include <iostream>

#include "cli/messages.h"
#include "cli/tracks.h"

namespace cli {

const char* const kLapModelHelp =
    "The lap is place 1's: its N ghost frames are equally spaced in time over\n"
    "place 1's time T, frame f at f * T / (N - 1). A track without a time for\n"
    "place 1 or with fewer than two frames has no lap (\"PATH: no ghost lap\").\n"
    "Positions and distances are in ghost units, distances straight lines from\n"
    "frame to frame; speeds in ghost units per second, from the distance to the\n"
    "frame before (frame 0 takes frame 1's).";

std::optional<LapTrack> ReadLapTrack(const std::string& path, int& exitCode) {
    exitCode = kFailed;
    const platform::Result<CollectedTracks> collected = CollectTracks({path}, false);
    if (StopsAt(collected, path, exitCode)) return std::nullopt;
    if (collected->batch || collected->tracks.size() != 1) {
        StopCommand(path, "give one track file, not a folder", exitCode);
        return std::nullopt;
    }
    const TrackInput input = collected->tracks[0];
    if (!input.error.empty()) {
        StopCommand(input.given, input.error, exitCode);
        return std::nullopt;
    }
    LapTrack read;
    read.space = std::make_unique<Workspace>();
    Report report;
    std::optional<LoadedTrack> loaded = LoadTrack(input, *read.space, report);
    std::cerr << report.Take();
    if (!loaded) return std::nullopt;
    if (loaded->track.Refused()) {
        exitCode = kRefused;
        return std::nullopt;
    }
    read.track = loaded->track;
    read.identity = loaded->identity;
    std::optional<lap::Lap> lap = lap::ReadLap(read.track);
    if (!lap) {
        std::cerr << FileLine(input.given, "no ghost lap");
        return std::nullopt;
    }
    read.lap = std::move(*lap);
    exitCode = kOk;
    return read;
}

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace cli
