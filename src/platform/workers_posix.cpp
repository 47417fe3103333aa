// Workers as processes, forked once. Each takes the next job not yet taken,
// so that a worker slowed down (by a larger track, or by the machine) leaves
// more to the others instead of holding them up at the end, and sends each
// question and each result through a socket to the caller, which alone
// answers (in job order) and alone hands results on (in job order too). So
// what the caller sees does not depend on the worker count, and is the same
// as a run here, one job after another.
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <new>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/temporaries.h"
#include "platform/workers.h"

namespace platform {
namespace {

// Long enough to take several results in one go, short beside a run.
constexpr std::chrono::milliseconds kGathering{2};

// MSG_NOSIGNAL: an answer to a worker that has just died must not take the
// caller down with SIGPIPE; the worker's end is noticed when read.
bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool ReadAll(int fd, void* into, std::size_t size) {
    auto* bytes = static_cast<char*>(into);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool GetText(int fd, std::string& text) {
    std::uint8_t number[8];
    if (!ReadAll(fd, number, sizeof number)) return false;
    const std::uint64_t size = ByteReader(number).U64(0);
    if (size > kLongestWorkerText) return false;
    text.resize(size);
    return size == 0 || ReadAll(fd, text.data(), size);
}

// The caller is gone: nobody will name this worker's files.
[[noreturn]] void LoseCaller() {
    RemoveTemporaries();
    std::_Exit(3);
}

// A worker's questions go to the caller, which answers in job order.
class AskCaller : public JobQuestions {
  public:
    explicit AskCaller(int socket) : socket_(socket) {}
    void Start(std::size_t index) { index_ = index; }
    std::string Ask(const std::string& question) override {
        std::string message(1, static_cast<char>(kWorkerQuestion));
        PutNumber(message, index_);
        PutText(message, question);
        std::string answer;
        if (!WriteAll(socket_, message) || !GetText(socket_, answer)) LoseCaller();
        return answer;
    }

  private:
    int socket_;
    std::size_t index_ = 0;
};

// Shared by the caller and its workers, in memory mapped before the fork:
// who took each job. A worker takes a job by writing its own number into
// the job's place in one atomic step, so that the caller, seeing a worker
// stop, knows exactly which jobs went with it.
class JobBoard {
  public:
    static constexpr std::size_t kNone = ~std::size_t{0};
    static_assert(std::atomic<std::size_t>::is_always_lock_free &&
                      std::atomic<std::uint32_t>::is_always_lock_free,
                  "a lock would not be shared between processes");

    explicit JobBoard(std::size_t count)
        : count_(count), size_(sizeof(Hint) + count * sizeof(Owner)) {
        void* memory =
            ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) return;
        hint_ = new (memory) Hint(0);
        owners_ = reinterpret_cast<Owner*>(static_cast<char*>(memory) + sizeof(Hint));
        for (std::size_t job = 0; job < count; ++job) new (&owners_[job]) Owner(0);
    }
    ~JobBoard() {
        if (hint_ != nullptr) ::munmap(hint_, size_);
    }
    JobBoard(const JobBoard&) = delete;
    JobBoard& operator=(const JobBoard&) = delete;

    bool Ready() const { return hint_ != nullptr; }

    // Worker w takes the first job nobody has taken; kNone when none is left.
    std::size_t Take(std::size_t w) {
        for (std::size_t job = hint_->load(); job < count_; ++job) {
            std::uint32_t free = 0;
            if (owners_[job].compare_exchange_strong(free, static_cast<std::uint32_t>(w + 1))) {
                // Only a place to start looking: a hint left behind costs a few tries.
                hint_->store(job + 1);
                return job;
            }
        }
        return kNone;
    }
    bool TakenBy(std::size_t job, std::size_t w) const {
        return job < count_ && owners_[job].load() == w + 1;
    }

  private:
    using Hint = std::atomic<std::size_t>;
    using Owner = std::atomic<std::uint32_t>;  // 0: free, else the worker's number + 1
    std::size_t count_, size_;
    Hint* hint_ = nullptr;
    Owner* owners_ = nullptr;
};

[[noreturn]] void WorkerMain(const WorkerJobs& jobs, JobBoard& board, std::size_t w, int socket) {
    AskCaller questions(socket);
    for (std::size_t i; (i = board.Take(w)) != JobBoard::kNone;) {
        questions.Start(i);
        const std::string result = jobs.run(i, questions);
        std::string message(1, static_cast<char>(kWorkerResult));
        PutNumber(message, i);
        PutText(message, result);
        if (!WriteAll(socket, message)) LoseCaller();
        // The files the result names are the caller's now.
        ForgetAllTemporaries();
    }
    // No destructors or exit handlers: they belong to the caller.
    std::_Exit(0);
}

struct Worker {
    pid_t pid = -1;
    int socket = -1;
    bool open = false;
    std::string unread;  // the start of a message not yet whole
};

// The caller's side: questions and results taken in as they come, handed
// on in job order.
class Collector {
  public:
    Collector(const WorkerJobs& jobs, std::vector<Worker>& workers, const JobBoard& board)
        : jobs_(jobs), workers_(workers), board_(board), settled_(jobs.count, 0) {}

    // Reads everything worker w has sent so far, however many messages it
    // holds; false when it stopped or spoke nonsense.
    bool Take(std::size_t w) {
        Worker& worker = workers_[w];
        char block[1 << 16];
        for (;;) {
            const ssize_t got = ::recv(worker.socket, block, sizeof block, MSG_DONTWAIT);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
            if (got <= 0) return false;
            if (!Parse(w, std::string_view(block, static_cast<std::size_t>(got)))) return false;
            if (static_cast<std::size_t>(got) < sizeof block) return true;
        }
    }

    // Worker w stopped: the job it had not ended ends without a result.
    void Lose(std::size_t w) {
        LoseEvery([&](std::size_t job) { return board_.TakenBy(job, w); });
    }

    // Whether any job has asked a question yet.
    bool Asked() const { return asked_; }

    // Every worker stopped: jobs nobody ended (or took) end without a result.
    void LoseTheRest() {
        LoseEvery([](std::size_t) { return true; });
    }

  private:
    // Takes `bytes` after what was left unread: every whole message in them.
    bool Parse(std::size_t w, std::string_view bytes) {
        std::string& unread = workers_[w].unread;
        unread.append(bytes);
        const std::optional<std::size_t> used =
            TakeWorkerMessages(unread, [&](const WorkerMessage& message) {
                return Handle(w, message.type, message.job, std::string(message.text));
            });
        if (!used) return false;
        unread.erase(0, *used);
        return true;
    }

    bool Handle(std::size_t w, std::uint8_t type, std::uint64_t index, std::string text) {
        if (!board_.TakenBy(index, w)) return false;
        const int fd = workers_[w].socket;
        if (type == kWorkerQuestion) {
            asked_ = true;
            // A later question of a job already settled waits for nobody.
            if (settled_[index]) {
                WriteAll(fd, Answer(index, text));
                return true;
            }
            questions_[index] = {w, std::move(text)};
        } else if (type == kWorkerResult) {
            results_[index] = std::move(text);
            settled_[index] = 1;
        } else {
            return false;
        }
        Advance();
        return true;
    }

    template <typename Which>
    void LoseEvery(const Which& which) {
        for (std::size_t job = nextDone_; job < jobs_.count; ++job) {
            if (results_.contains(job) || !which(job)) continue;
            questions_.erase(job);
            settled_[job] = 1;
            results_[job] = std::nullopt;
        }
        Advance();
    }

    std::string Answer(std::size_t index, const std::string& question) {
        std::string answer;
        PutText(answer, jobs_.answer(index, question));
        return answer;
    }

    void Advance() {
        while (nextSettled_ < jobs_.count) {
            const auto question = questions_.find(nextSettled_);
            if (question != questions_.end()) {
                // A worker that cannot take its answer is found out at its next read.
                WriteAll(workers_[question->second.first].socket,
                         Answer(nextSettled_, question->second.second));
                questions_.erase(question);
                settled_[nextSettled_] = 1;
            }
            if (!settled_[nextSettled_]) break;
            ++nextSettled_;
        }
        for (auto it = results_.find(nextDone_); it != results_.end();
             it = results_.find(nextDone_)) {
            jobs_.done(nextDone_, it->second);
            results_.erase(it);
            ++nextDone_;
        }
    }

    const WorkerJobs& jobs_;
    std::vector<Worker>& workers_;
    const JobBoard& board_;
    std::vector<char> settled_;  // asked its first question, or ended
    std::map<std::size_t, std::pair<std::size_t, std::string>> questions_;  // worker, question
    std::map<std::size_t, std::optional<std::string>> results_;
    std::size_t nextSettled_ = 0, nextDone_ = 0;
    bool asked_ = false;
};

void CloseAll(std::vector<int>& sockets) {
    for (const int fd : sockets) ::close(fd);
    sockets.clear();
}

}  // namespace

void RunWorkers(const WorkerJobs& jobs, std::size_t workerCount) {
    workerCount = std::min(workerCount, jobs.count);
    if (workerCount <= 1) return RunJobsHere(jobs);

    // The board and every socket first: without them the jobs run here instead.
    JobBoard board(jobs.count);
    if (!board.Ready()) return RunJobsHere(jobs);
    std::vector<int> ends;  // caller's, worker's, for each worker
    for (std::size_t w = 0; w < workerCount; ++w) {
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
            CloseAll(ends);
            return RunJobsHere(jobs);
        }
        ends.push_back(pair[0]);
        ends.push_back(pair[1]);
    }

    std::cout.flush();
    std::cerr.flush();
    std::vector<Worker> workers(workerCount);
    RunStamp();  // the parent's, before any worker would take its own
    for (std::size_t w = 0; w < workerCount; ++w) {
        pid_t pid = -1;
        {
            // A stop while a worker starts would find it unnoted, or the
            // worker still holding its caller's temporaries.
            const HeldStops held;
            pid = ::fork();
            if (pid == 0) ForgetAllTemporaries();
            if (pid > 0) NoteWorker(pid);
        }
        if (pid == 0) {
            for (std::size_t k = 0; k < ends.size(); ++k)
                if (k != 2 * w + 1) ::close(ends[k]);
            WorkerMain(jobs, board, w, ends[2 * w + 1]);
        }
        ::close(ends[2 * w + 1]);
        // A worker that could not be started counts as one that stopped.
        workers[w] = {pid, ends[2 * w], pid > 0, {}};
    }

    Collector collector(jobs, workers, board);
    std::size_t open = 0;
    for (std::size_t w = 0; w < workerCount; ++w) {
        if (workers[w].open) {
            ++open;
        } else {
            ::close(workers[w].socket);
        }
    }
    // Not one worker could be started: the jobs run here instead.
    if (open == 0) return RunJobsHere(jobs);
    while (open > 0) {
        std::vector<pollfd> fds;
        std::vector<std::size_t> owners;
        for (std::size_t w = 0; w < workerCount; ++w) {
            if (!workers[w].open) continue;
            fds.push_back({workers[w].socket, POLLIN, 0});
            owners.push_back(w);
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            // Cannot wait for them: the jobs not ended are lost, and the
            // workers end at their next write.
            for (const std::size_t w : owners) {
                collector.Lose(w);
                ::close(workers[w].socket);
                workers[w].open = false;
            }
            break;
        }
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].revents == 0) continue;
            const std::size_t w = owners[k];
            if (collector.Take(w)) continue;
            collector.Lose(w);
            ::close(workers[w].socket);
            workers[w].open = false;
            --open;
        }
        // Waking for each result costs more than taking it (a wake-up from
        // another processor is dear, in a virtual machine most of all), so
        // results are let gather for a moment and taken together. Not once
        // a job has asked a question: it waits for its answer. Nor once the
        // last worker has ended: nothing is left to gather.
        if (open > 0 && !collector.Asked()) std::this_thread::sleep_for(kGathering);
    }
    collector.LoseTheRest();
    for (const Worker& worker : workers) {
        int status = 0;
        while (worker.pid > 0 && ::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (worker.pid > 0) ForgetWorker(worker.pid);
    }
}

}  // namespace platform
