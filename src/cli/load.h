// One track of a run read and parsed, as the window's "load" reads one: the
// file whole, at most track::kLargestFile bytes, with the same status lines
// for a file that cannot be read, a refused one and a damaged one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "cli/messages.h"
#include "cli/tracks.h"
#include "platform/safe_file.h"
#include "raster/picture.h"
#include "track/track.h"

namespace cli {

// The memory a worker keeps from track to track, each part made on first
// use and touched only as far as a track needs it: the room for a file,
// for the picture's image, and the picture.
class Workspace {
  public:
    std::span<std::uint8_t> FileRoom();
    std::span<std::uint8_t> ImageRoom();
    raster::Picture picture;

  private:
    std::unique_ptr<std::uint8_t[]> file_;
    std::unique_ptr<std::uint8_t[]> image_;
};

struct LoadedTrack {
    track::Track track;    // views the workspace's file room
    std::string fileName;  // as the listing and the caption name it (Windows-1252)
    std::int64_t size = 0;
    platform::FileIdentity identity;  // which file was read; none for standard input
};

// Reads and parses `input` in `space`; nothing when it could not be read.
// `report` gets the load's status lines (the refusal and the damage too).
// The track lives until the workspace reads the next one.
std::optional<LoadedTrack> LoadTrack(const TrackInput& input, Workspace& space, Report& report);

// The information box's lines: the load line and, unless refused, the 32
// of the listing; in UTF-8 with controls shown as '?', each ended by "\n".
std::string ListingText(const LoadedTrack& loaded);

}  // namespace cli
