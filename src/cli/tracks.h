// Collecting the tracks of a run: the TRACK arguments expanded into files,
// in the order they were named, kept packed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace cli {

struct TrackInput {
    std::string given;  // as named (a file inside a folder: folder/name)
    std::string path;   // the file to open
    std::string error;  // why it cannot be run (an unreadable folder, say)
    // For "-": standard input, read whole.
    std::shared_ptr<const std::vector<std::uint8_t>> standardInput = nullptr;
};

// The tracks of a run, packed, so that an archive of ten thousand tracks
// costs a few bytes a track (peak memory stays near that of a small run).
// A file name is kept as the bytes it does not share with the one before
// it, without its ".trk"; every kBlock-th name is kept whole so that any
// track is found from the whole name before it. A run of tracks from one
// folder keeps that folder once.
class TrackList {
  public:
    void Add(const TrackInput& input);
    std::size_t size() const { return count_; }
    TrackInput operator[](std::size_t index) const;

  private:
    std::string_view FolderText(std::size_t k) const;

    static constexpr std::size_t kBlock = 32;
    struct Folder {
        std::size_t first;  // the first track in it
        std::size_t end;    // where its text ends in folderTexts_
    };
    std::string folderTexts_;          // up to and with the last '/', one after another
    std::vector<Folder> folders_;      // in track order
    std::string names_;                // the file names, coded as said above
    std::vector<std::size_t> blocks_;  // where each kBlock of names starts in names_
    std::string last_;                 // the name added last, without its ".trk"
    std::size_t count_ = 0;
    // The few whose path differs from the name, that come from standard
    // input or that cannot run.
    std::map<std::size_t, TrackInput> unusual_;
};

struct CollectedTracks {
    TrackList tracks;
    bool batch = false;  // several tracks or a folder: the batch behaviour
};

// Expands TRACK arguments: a file as it is; a folder into its track files
// (platform::IsTrackFileName) in name order, with `recursive` its
// subfolders too (each in name order at its place); "-" into one track read
// whole from standard input. A failure is a usage problem: nothing is to be
// run.
platform::Result<CollectedTracks> CollectTracks(const std::vector<std::string>& arguments,
                                                bool recursive);

}  // namespace cli
