// The parts of the workers that need no system calls: running the jobs here,
// counting the cores, and reading what workers send.
#include "platform/workers.h"

#include <algorithm>
#include <thread>

#include "platform/byte_reader.h"

namespace platform {
namespace {

// Here every question is answered at once: the jobs before have all ended.
class AnswerHere : public JobQuestions {
  public:
    AnswerHere(const WorkerJobs& jobs, std::size_t index) : jobs_(jobs), index_(index) {}
    std::string Ask(const std::string& question) override { return jobs_.answer(index_, question); }

  private:
    const WorkerJobs& jobs_;
    std::size_t index_;
};

}  // namespace

void RunJobsHere(const WorkerJobs& jobs) {
    for (std::size_t i = 0; i < jobs.count; ++i) {
        AnswerHere questions(jobs, i);
        jobs.done(i, jobs.run(i, questions));
    }
}

std::optional<std::size_t> TakeWorkerMessages(
    std::string_view bytes, const std::function<bool(const WorkerMessage&)>& take) {
    constexpr std::int64_t kHead = 1 + 8 + 8;
    const ByteReader reader(bytes);
    std::int64_t at = 0;
    while (reader.Has(at, kHead)) {
        const std::uint64_t size = reader.U64(at + 9);
        if (size > kLongestWorkerText) return std::nullopt;
        const auto length = static_cast<std::int64_t>(size);
        if (!reader.Has(at + kHead, length)) break;
        if (!take({reader.U8(at), reader.U64(at + 1), reader.View(at + kHead, length)}))
            return std::nullopt;
        at += kHead + length;
    }
    return static_cast<std::size_t>(at);
}

std::size_t CoreCount() {
    return std::max<std::size_t>(std::thread::hardware_concurrency(), 1);
}

}  // namespace platform
