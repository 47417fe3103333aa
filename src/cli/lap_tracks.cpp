#include "cli/lap_tracks.h"

#include <cstdio>

#include "app/state.h"
#include "cli/session.h"
#include "platform/files.h"

namespace cli {

const char* const kLapModelHelp =
    "The lap is place 1's: its ghost frames are equally spaced in time over place 1's time.\n"
    "Positions and distances are in ghost units (distances are straight lines from frame to\n"
    "frame); speeds in ghost units per second, from the distance to the frame before.";

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
