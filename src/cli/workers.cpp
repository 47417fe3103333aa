#include "cli/workers.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace cli {

std::size_t CoreCount() {
    return std::max<std::size_t>(std::thread::hardware_concurrency(), 1);
}

void RunOnWorkers(std::size_t count, std::size_t workers,
                  const std::function<void(std::size_t job, std::size_t worker)>& run) {
    workers = std::min(workers, count);
    if (workers <= 1) {
        for (std::size_t job = 0; job < count; ++job) run(job, 0);
        return;
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&](std::size_t worker) {
        for (std::size_t job; (job = next.fetch_add(1)) < count;) run(job, worker);
    };
    std::vector<std::thread> threads;
    threads.reserve(workers);
    for (std::size_t w = 0; w < workers; ++w) {
        try {
            threads.emplace_back(work, w);
        } catch (const std::system_error&) {
            // The system has no more threads to give: those started take
            // every job, or without any this one does.
            break;
        }
    }
    if (threads.empty()) work(0);
    for (std::thread& thread : threads) thread.join();
}

}  // namespace cli
