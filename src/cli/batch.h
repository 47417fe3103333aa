// Many tracks in one command: the TRACK arguments expanded into files, the
// work spread over worker processes, and what each track printed put out in
// the order the tracks were named, with a progress line and a summary.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
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

// The tracks of a run, packed: the file names one after another in one
// block, each with the folder it shares with its neighbours kept once, so
// that an archive of ten thousand tracks costs little more than its file
// names (peak memory stays near that of a small run).
class TrackList {
  public:
    void Add(const TrackInput& input);
    std::size_t size() const { return entries_.size(); }
    TrackInput operator[](std::size_t index) const;

  private:
    struct Entry {
        std::uint32_t folder;  // in folders_
        std::uint32_t end;     // where its file name ends in names_
    };
    std::vector<std::string> folders_;  // up to and with the last '/'; a run of tracks shares one
    std::string names_;                 // every file name, one after another
    std::vector<Entry> entries_;
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
