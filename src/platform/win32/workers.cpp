// Windows has no fork, and a worker process would have to start the program
// anew for every run: the jobs run one after another in this process. The
// outputs are the same; only a crash in one job ends the whole run here.
#include "platform/workers.h"

namespace platform {

void RunWorkers(const WorkerJobs& jobs, std::size_t /*workers*/) {
    RunJobsHere(jobs);
}

}  // namespace platform
