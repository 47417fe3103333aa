// Many tracks in one command: the TRACK arguments expanded into files, the
// work spread over worker processes, and what each track printed put out in
// the order the tracks were named, with a progress line and a summary.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/safe_file.h"

namespace cli {

struct TrackInput {
    std::string given;  // as named (a file inside a folder: folder/name)
    std::string path;   // the file to open; differs for "-" (standard input)
    std::string error;  // why it cannot be run (an unreadable folder, say)
};

// Largest track read from standard input, as the load action's own limit.
inline constexpr std::size_t kMaxStdinTrack = 1'000'000;

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
    // The few whose path differs from the name (stdin) or that cannot run.
    std::map<std::size_t, TrackInput> unusual_;
};

struct CollectedTracks {
    TrackList tracks;
    bool batch = false;  // several tracks or a folder: the batch behaviour
};

// Expands TRACK arguments: a file as it is; a folder into its .trk files in
// name order, with `recursive` its subfolders too (each in name order at its
// place); "-" into one track read from standard input into `stdinCopy` (a
// private file whose folder the caller removes with RemoveStdinCopy). A
// failure is a usage problem: nothing is to be run.
platform::Result<CollectedTracks> CollectTracks(const std::vector<std::string>& arguments,
                                                bool recursive);
void RemoveStdinCopy();

enum class Outcome { kWritten, kDamaged, kRefused, kFailed };

// A file a job wrote whole under a name of its own, to be renamed to its
// wanted name once the tracks before it have had theirs. So a worker never
// waits for the others to reach their names, and the names are still given
// in the order the tracks were named.
struct UnnamedFile {
    std::string written;  // its present path; empty: there is none
    std::string folder;   // where it is, and stays
    std::string stem, extension;
    platform::FileIdentity keep;  // the track, which it must not replace
};

struct TrackResult {
    Outcome outcome = Outcome::kWritten;
    std::string out;  // for standard output
    std::string err;  // messages for standard error
    UnnamedFile file;
};

// Hands out output names so that no output of a run overwrites another:
// the first claim of a name gets it, later ones "-2", "-3", ... before the
// extension. Claims are granted in the order the tracks were named.
class NameClaims {
  public:
    virtual ~NameClaims() = default;
    // `stem` + `extension` as wanted; returns the name to use.
    virtual std::string Claim(const std::string& stem, const std::string& extension) = 0;
};

using TrackJob = std::function<TrackResult(const TrackInput&, NameClaims&)>;

// A track's result as the bytes a worker sends the parent, and back; nothing
// when the bytes are not one result.
std::string PackResult(const TrackResult& result);
std::optional<TrackResult> UnpackResult(std::string_view bytes);

struct BatchSettings {
    int jobs = 0;  // 0: one per core
    bool batch = false;
    std::string verb = "written";  // "12 written, ..." in the summary
};

// Runs `job` for every track and returns the exit code: 0 when every track
// was written (damaged ones included), 2 when some were refused and none
// failed, 1 when any failed.
int RunBatch(const TrackList& tracks, const BatchSettings& settings, const TrackJob& job);

// -j's number: a count of 1 or more.
int DefaultJobs();

}  // namespace cli
