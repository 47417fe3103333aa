// A run's jobs on worker threads: outputs and names in argument order for
// every worker count, whatever order the jobs end in, jobs running at the
// same time, and a job that fails with an exception failing its track alone.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "cli/batch.h"

namespace {

TEST(Workers, EveryWorkerCountGivesOutputsAndNamesInArgumentOrder) {
    cli::TrackList tracks;
    // The failing track's name would clear the screen, printed as it is.
    const std::string bad = "bad\x1b[2J.trk";
    for (int i = 0; i < 24; ++i) {
        const std::string name = i == 7 ? bad : "t" + std::to_string(i) + ".trk";
        tracks.Add({name, name, ""});
    }
    // Every job claims the same name; the earlier ones take longer, so
    // that later ones end first whenever they can. With more than one
    // worker the first job waits for a second one to start beside it.
    int workers = 1;
    std::atomic<int> started = 0;
    bool together = false;
    const auto job = [&](const cli::TrackInput& input, cli::NameClaims& claims, cli::Workspace&) {
        const int i = input.given == bad ? 7 : std::stoi(input.given.substr(1));
        ++started;
        for (int wait = 0; i == 0 && workers > 1 && started < 2 && wait < 10'000; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i == 0) together = started >= 2;
        std::this_thread::sleep_for(std::chrono::milliseconds((24 - i) % 5));
        const std::string name = claims.Claim("same", ".jpg");
        if (input.given == bad) throw std::runtime_error("out of luck");
        return cli::TrackResult{cli::Outcome::kWritten, input.given + " " + name + "\n", "", {}};
    };
    std::string expected;
    for (int i = 0; i < 24; ++i) {
        if (i == 7) continue;
        expected += "t" + std::to_string(i) + ".trk same" +
                    (i == 0 ? "" : "-" + std::to_string(i + 1)) + ".jpg\n";
    }
    for (const int jobs : {1, 2, 3, 16}) {
        cli::BatchSettings settings;
        settings.jobs = workers = jobs;
        started = 0;
        settings.batch = true;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int exitCode = cli::RunBatch(tracks, settings, job);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(exitCode, 1) << jobs;
        EXPECT_EQ(out, expected) << jobs;
        EXPECT_EQ(err,
                  "trk: bad?[2J.trk: out of luck\n"
                  "trk: 24 tracks: 23 written, 0 refused, 1 failed: bad?[2J.trk\n")
            << jobs;
        EXPECT_EQ(together, jobs > 1) << jobs;
    }
}

}  // namespace
