// Running a run's jobs on worker threads. The core keeps no state of its
// own, so one process holds every worker: each takes the next job no one
// has taken, so that a slow track holds up no other, and keeps its memory
// (a Workspace) from job to job.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

namespace cli {

// The number of processor cores, at least 1.
std::size_t CoreCount();

// Runs run(job, worker) for every job 0 .. count - 1 on `workers` threads
// (worker 0 .. workers - 1), and returns once all have ended. One worker,
// or one job, runs here on this thread, in job order.
void RunOnWorkers(std::size_t count, std::size_t workers,
                  const std::function<void(std::size_t job, std::size_t worker)>& run);

// Hands results on in job order, whichever worker ends a job: the worker
// that ends the next one hands it on, and every one after it that has
// ended too, so no one is woken to do it. `handOn` runs for one result at a
// time.
template <typename Result>
class InOrder {
  public:
    explicit InOrder(std::function<void(std::size_t job, Result&)> handOn)
        : handOn_(std::move(handOn)) {}

    void Deliver(std::size_t job, Result result) {
        {
            const std::lock_guard lock(waiting_);
            ready_.emplace(job, std::move(result));
        }
        // A worker handing on checks again after it stops, so a result that
        // arrives meanwhile is not left behind.
        while (HandOnReady()) {
        }
    }

  private:
    // Hands on what is ready, unless another worker is at it; whether the
    // next result came in once this one had let go.
    bool HandOnReady() {
        std::unique_lock handing(handing_, std::try_to_lock);
        if (!handing.owns_lock()) return false;
        for (;;) {
            std::size_t job = 0;
            Result result;
            {
                const std::lock_guard lock(waiting_);
                const auto it = ready_.find(next_);
                if (it == ready_.end()) break;
                job = next_;
                result = std::move(it->second);
                ready_.erase(it);
            }
            handOn_(job, result);
            const std::lock_guard lock(waiting_);
            ++next_;
        }
        handing.unlock();
        const std::lock_guard lock(waiting_);
        return ready_.contains(next_);
    }

    std::function<void(std::size_t, Result&)> handOn_;
    std::mutex handing_;  // held by the one worker handing results on
    std::mutex waiting_;  // guards ready_ and next_
    std::map<std::size_t, Result> ready_;
    std::size_t next_ = 0;  // the next job to hand on
};

}  // namespace cli
