#include "cli/batch.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "cli/messages.h"
#include "cli/summary.h"
#include "cli/workers.h"
#include "platform/temporaries.h"

namespace cli {
namespace {

TrackResult RunOne(const TrackInput& input, NameClaims& claims, const TrackJob& job,
                   Workspace& space) {
    if (!input.error.empty()) return {Outcome::kFailed, "", FileLine(input.given, input.error), {}};
    try {
        return job(input, claims, space);
    } catch (const std::exception& error) {
        // Out of memory, say: this track fails, the others go on.
        return {Outcome::kFailed, "", FileLine(input.given, error.what()), {}};
    }
}

}  // namespace

int DefaultJobs() {
    return static_cast<int>(std::min<std::size_t>(CoreCount(), 64));
}

int RunBatch(const TrackList& tracks, const BatchSettings& settings, const TrackJob& job) {
    Printer printer(tracks.size(), settings);
    OrderedClaims names(tracks.size());
    InOrder<TrackResult> results([&](std::size_t index, TrackResult& result) {
        if (!result.file.written.empty()) {
            const std::string failure = GiveName(result.file, names);
            if (!failure.empty()) {
                result.outcome = Outcome::kFailed;
                result.err += failure;
            }
        }
        printer.Print(tracks[index], result);
    });
    const auto workers =
        static_cast<std::size_t>(settings.jobs > 0 ? settings.jobs : DefaultJobs());
    std::vector<Workspace> spaces(std::min(workers, tracks.size()));
    RunOnWorkers(tracks.size(), workers, [&](std::size_t index, std::size_t worker) {
        JobClaims claims(names, index);
        TrackResult result = RunOne(tracks[index], claims, job, spaces[worker]);
        names.End(index);
        // The picture is the run's now, waiting for its name: a stop removes
        // it with the folder's other temporaries of the run.
        if (!result.file.written.empty()) platform::ForgetTemporary(result.file.written);
        results.Deliver(index, std::move(result));
    });
    return printer.Finish();
}

}  // namespace cli
