// Many tracks in one command: every track of a run is a job, the jobs run
// on worker threads (cli/workers.h), and what each track printed is put out
// in the order the tracks were named, with a progress line and a summary
// (cli/summary.h). The outputs are the same bytes for every worker count.
#pragma once

#include <functional>
#include <string>

#include "cli/load.h"
#include "cli/names.h"
#include "cli/tracks.h"

namespace cli {

enum class Outcome { kWritten, kDamaged, kRefused, kFailed };

// What one track's job did, handed on in argument order.
struct TrackResult {
    Outcome outcome = Outcome::kWritten;
    std::string out;   // for standard output
    std::string err;   // for standard error: status lines and "trk: ..." lines
    UnnamedFile file;  // a picture waiting for its name
};

// A track's job: works in the worker's `space` and claims names from `claims`.
using TrackJob =
    std::function<TrackResult(const TrackInput&, NameClaims& claims, Workspace& space)>;

struct BatchSettings {
    int jobs = 0;  // 0: one per core
    bool batch = false;
    std::string verb = "written";  // "12 written, ..." in the summary
};

// Runs `job` for every track and returns the exit code: 0 when every track
// was written (damaged ones included), 2 when some were refused and none
// failed, 1 when any failed. A track that cannot be run, or whose job fails
// with an exception (out of memory, say), fails alone; the run goes on.
int RunBatch(const TrackList& tracks, const BatchSettings& settings, const TrackJob& job);

// -j's default: a worker per core, at most 64.
int DefaultJobs();

}  // namespace cli
