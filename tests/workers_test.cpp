// Jobs over workers: results and answers in job order for every worker
// count, and a worker that dies mid-run failing only the job it was running.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "platform/workers.h"

namespace {

constexpr std::size_t kCrashing = 4;

struct JobsSeen {
    std::vector<std::optional<std::string>> results;
    std::vector<std::size_t> doneOrder;
    std::vector<std::size_t> answerOrder;
};

// Ten jobs; each asks one question and returns the answer with its number.
// Job `crash` (if any) asks its question and then dies.
JobsSeen RunTen(std::size_t workers, std::optional<std::size_t> crash) {
    JobsSeen run;
    int handedOut = 0;
    platform::WorkerJobs jobs;
    jobs.count = 10;
    jobs.run = [crash](std::size_t index, platform::JobQuestions& questions) {
        const std::string answer = questions.Ask("job " + std::to_string(index));
        if (crash && index == *crash) std::abort();
        return std::to_string(index) + ":" + answer;
    };
    jobs.answer = [&](std::size_t index, const std::string& question) {
        run.answerOrder.push_back(index);
        return question + " got " + std::to_string(handedOut++);
    };
    jobs.done = [&](std::size_t index, const std::optional<std::string>& result) {
        run.doneOrder.push_back(index);
        run.results.push_back(result);
    };
    platform::RunWorkers(jobs, workers);
    return run;
}

std::vector<std::size_t> ZeroToNine() {
    return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

TEST(Workers, ResultsAndAnswersComeInJobOrderForEveryWorkerCount) {
    const JobsSeen here = RunTen(1, std::nullopt);
    ASSERT_EQ(here.results.size(), 10u);
    EXPECT_EQ(here.results[3], "3:job 3 got 3");
    for (const std::size_t workers : {2u, 3u, 16u}) {
        const JobsSeen run = RunTen(workers, std::nullopt);
        EXPECT_EQ(run.results, here.results) << workers << " workers";
        EXPECT_EQ(run.doneOrder, ZeroToNine()) << workers << " workers";
        EXPECT_EQ(run.answerOrder, ZeroToNine()) << workers << " workers";
    }
}

// Jobs that ask nothing have their results gathered and read together:
// results far larger than one read, from several workers at once, arrive
// whole and in job order.
TEST(Workers, LargeResultsOfJobsThatAskNothingArriveWholeAndInOrder) {
    const auto result = [](std::size_t index) {
        std::string text(150'000 + 7919 * index, '\0');
        for (std::size_t k = 0; k < text.size(); ++k)
            text[k] = static_cast<char>((k * 31 + index) % 251);
        return text;
    };
    platform::WorkerJobs jobs;
    jobs.count = 12;
    jobs.run = [&](std::size_t index, platform::JobQuestions&) { return result(index); };
    std::size_t next = 0;
    jobs.done = [&](std::size_t index, const std::optional<std::string>& got) {
        EXPECT_EQ(index, next++);
        EXPECT_TRUE(got == result(index)) << "job " << index;
    };
    platform::RunWorkers(jobs, 3);
    EXPECT_EQ(next, jobs.count);
}

TEST(Workers, AWorkerThatDiesFailsOnlyTheJobItWasRunning) {
    // Job 4 dies after its answer; the workers left run the jobs after it.
    for (const std::size_t workers : {2u, 3u}) {
        const JobsSeen run = RunTen(workers, kCrashing);
        ASSERT_EQ(run.doneOrder, ZeroToNine());
        for (std::size_t i = 0; i < 10; ++i)
            EXPECT_EQ(run.results[i].has_value(), i != kCrashing) << "job " << i;
        // The answers still come in job order, the lost job's included.
        EXPECT_EQ(run.results[5], "5:job 5 got 5");
        EXPECT_EQ(run.results[9], "9:job 9 got 9");
    }
}

// The same death inside trk's run: the track counted as failed, the run
// going on, the other tracks' outputs intact and in order, exit code 1.
TEST(Workers, ATrackWhoseWorkerDiesFailsAndTheRunGoesOn) {
    cli::TrackList tracks;
    // The crashing track's name would clear the screen, printed as it is.
    for (const char* name : {"a.trk", "b.trk", "crash\x1b[2J.trk", "d.trk", "e.trk", "f.trk"})
        tracks.Add({name, name, ""});
    cli::BatchSettings settings;
    settings.jobs = 2;
    settings.batch = true;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int exitCode =
        cli::RunBatch(tracks, settings, [](const cli::TrackInput& input, cli::NameClaims& claims) {
            const std::string name = claims.Claim(input.given.substr(0, 1), ".jpg");
            if (input.given.starts_with("crash")) std::abort();
            return cli::TrackResult{
                cli::Outcome::kWritten, input.given + " -> " + name + "\n", "", {}};
        });
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(out,
              "a.trk -> a.jpg\nb.trk -> b.jpg\nd.trk -> d.jpg\ne.trk -> e.jpg\nf.trk -> f.jpg\n");
    EXPECT_NE(err.find("trk: crash?[2J.trk: the worker drawing it stopped\n"), std::string::npos)
        << err;
    EXPECT_NE(err.find("trk: 6 tracks: 5 written, 0 refused, 1 failed: crash?[2J.trk\n"),
              std::string::npos)
        << err;
}

}  // namespace
