// Runs stopped by INT, TERM and HUP, and killed ones: a stopped run removes
// every temporary file it made, its workers' too, and ends as the signal
// would; the next run into a folder removes a dead run's, never a live one's.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/batch.h"
#include "platform/safe_file.h"
#include "platform/temporaries.h"
#include "support/fixture.h"
#include "support/run_command.h"

namespace {

namespace fs = std::filesystem;
using Stops = ActionTest;

// A run of five tracks, the first read from standard input, on two
// workers, each writing a picture under a name of its own: the first never
// ends, so the others' pictures wait for their names, and the last stops
// the run with `signal` once its picture is written. Returns the run's
// wait status.
int StoppedRun(int signal, const fs::path& scratch) {
    const pid_t run = ::fork();
    if (run != 0) {
        int status = 0;
        ::waitpid(run, &status, 0);
        return status;
    }
    // Whatever the test runner ignores, and a hang ended rather than waited for.
    for (const int stop : {SIGINT, SIGTERM, SIGHUP}) std::signal(stop, SIG_DFL);
    ::alarm(60);
    platform::StopCleanlyOnSignals();
    ::setenv("TMPDIR", (scratch / "tmp").c_str(), 1);
    if (std::freopen((scratch / "t.trk").c_str(), "rb", stdin) == nullptr) std::_Exit(99);
    const auto collected = cli::CollectTracks({"-", "a", "b", "c", "d"}, false);
    const std::string out = (scratch / "out").string();
    platform::TidyTemporaries(out);
    cli::BatchSettings settings;
    settings.jobs = 2;
    cli::RunBatch(collected->tracks, settings,
                  [&](const cli::TrackInput& input, cli::NameClaims&, cli::Workspace&) {
                      cli::TrackResult result;
                      const auto written = platform::WriteUnnamed(out, [](std::FILE* file) {
                          std::fputs("a picture", file);
                          return platform::Result<>{};
                      });
                      if (written) result.file = {*written, out, input.given, ".jpg", {}};
                      if (input.given == "d") ::kill(::getpid(), signal);
                      if (input.given == "-" || input.given == "d") ::sleep(60);
                      return result;
                  });
    std::_Exit(0);  // not reached: the run ends by the signal
}

TEST_F(Stops, AStoppedRunRemovesItsTemporariesAndEndsAsTheSignal) {
    WriteFile("t.trk", {'t'});
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const char* folder : {"out", "tmp"}) {
            fs::remove_all(scratch / folder);
            fs::create_directories(scratch / folder);
        }
        const int status = StoppedRun(signal, scratch);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(fs::is_empty(scratch / "out")) << signal;
        EXPECT_TRUE(fs::is_empty(scratch / "tmp")) << signal;
    }
}

TEST_F(Stops, ARunIntoAFolderRemovesTheTemporariesOfDeadRunsOnly) {
    const fs::path out = scratch / "out";
    fs::create_directories(out / ".trk-999999999-1-00000000000000ff.tmp");  // a folder: not ours
    const std::string live = platform::RunStamp();
    const std::string pid = std::to_string(::getpid());
    const std::string hex = "-0123456789abcdef.tmp";
    const std::vector<std::string> dead = {
        ".trk-999999999-1" + hex,    // no such process
        ".trk-" + pid + "-1" + hex,  // its process id taken by another
        ".trk-999999999" + hex,      // of an older version
    };
    const std::vector<std::string> kept = {
        ".trk-" + live + hex,                      // a live run's
        ".trk-" + pid + hex,                       // an older version's, maybe alive
        ".trk-999999999-1-0123.tmp", "notes.tmp",  // no temporaries of ours
    };
    for (const auto& names : {dead, kept})
        for (const std::string& name : names) std::ofstream(out / name) << "x";
    WriteFile("t.trk", {'t'});
    RunTrk("render '" + (scratch / "t.trk").string() + "' -d '" + out.string() + "'");
    for (const std::string& name : dead) EXPECT_FALSE(fs::exists(out / name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(out / name)) << name;
    EXPECT_TRUE(fs::is_directory(out / ".trk-999999999-1-00000000000000ff.tmp"));
}

}  // namespace
