// Jobs spread over workers, with what they return handed back in job order.
// Where the system has processes to spare (POSIX), each worker is a process
// of its own: a job that crashes takes only its worker down, and the
// process-wide stores of the actions need no locks. Elsewhere the jobs may
// run one after another in this process; the caller sees no difference but
// the time taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A running job's line to the one who started the run.
class JobQuestions {
  public:
    virtual ~JobQuestions() = default;
    // Sends `question` to WorkerJobs::answer and waits for its answer.
    virtual std::string Ask(const std::string& question) = 0;
};

struct WorkerJobs {
    std::size_t count = 0;  // the jobs are numbered 0 .. count - 1
    // Runs job `index` inside a worker; what it returns goes to `done`.
    std::function<std::string(std::size_t index, JobQuestions& questions)> run;
    // Answers a job's question, in the caller. A job's first question is
    // answered only once every earlier job has asked its first or ended, so
    // answers that hand out something (a name, a number) are given in job
    // order whatever the number of workers.
    std::function<std::string(std::size_t index, const std::string& question)> answer;
    // Called in the caller for every job, in job order: what it returned,
    // or nothing when its worker stopped (crashed, was killed) before the
    // job ended.
    std::function<void(std::size_t index, const std::optional<std::string>& result)> done;
};

// Runs every job in `workerCount` workers (at most one a job). The run goes on
// when a worker stops: its unfinished jobs are reported to `done` as such.
void RunWorkers(const WorkerJobs& jobs, std::size_t workerCount);

// Runs every job here, one after another, in job order.
void RunJobsHere(const WorkerJobs& jobs);

// The number of processor cores available, at least 1.
std::size_t CoreCount();

// What a worker process sends its caller: a job's question or its result.
// On the wire: the type (1 byte), the job's number and the text's size (8
// bytes each, little-endian), then the text.
enum WorkerMessageType : std::uint8_t { kWorkerQuestion = 1, kWorkerResult = 2 };
struct WorkerMessage {
    std::uint8_t type = 0;
    std::uint64_t job = 0;
    std::string_view text;
};
inline constexpr std::uint64_t kLongestWorkerText = std::uint64_t{1} << 32;

// Hands each whole message at the start of `bytes` (what a worker has sent
// so far) to `take`, and returns how many bytes they filled; a message cut
// short waits for the rest. Nothing when a size is beyond
// kLongestWorkerText or `take` refuses a message: the worker spoke nonsense.
std::optional<std::size_t> TakeWorkerMessages(
    std::string_view bytes, const std::function<bool(const WorkerMessage&)>& take);

}  // namespace platform
