#include "cli/lap_tracks.h"

#include <cstdio>

#include "app/state.h"
#include "cli/session.h"
#include "platform/files.h"

namespace cli {

const char* const kLapModelHelp =
    "The lap is place 1's: its N ghost frames are equally spaced in time over\n"
    "place 1's time T, frame f at f * T / (N - 1). A track without a time for\n"
    "place 1 or with fewer than two frames has no lap (\"PATH: no ghost lap\").\n"
    "Positions and distances are in ghost units, distances straight lines from\n"
    "frame to frame; speeds in ghost units per second, from the distance to the\n"
    "frame before (frame 0 takes frame 1's).";

std::optional<LapTrack> ReadLapTrack(const std::string& path, int& exitCode) {
    exitCode = 1;
    // As much as the window's load takes.
    constexpr std::size_t kRoom = app::kTrackBufferSize / 2;
    LapTrack read;
    read.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kRoom);
    const platform::Result<platform::FileRead> file =
        platform::ReadWholeFile(path, {read.bytes.get(), kRoom});
    if (!Worked(path, file)) return std::nullopt;
    read.identity = file->identity;
    read.track = track::Parse({read.bytes.get(), static_cast<std::size_t>(file->bytesRead)});
    if (read.track.Refused()) {
        PrintError(path, read.track.refusal);
        exitCode = 2;
        return std::nullopt;
    }
    std::optional<lap::Lap> lap = lap::ReadLap(read.track);
    if (!lap) {
        PrintError(path, "no ghost lap");
        return std::nullopt;
    }
    read.lap = std::move(*lap);
    exitCode = 0;
    return read;
}

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace cli
