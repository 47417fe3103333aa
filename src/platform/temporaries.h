// The files a run keeps under temporary names (the safe writer's, pictures
// waiting for their names, the copy of standard input), and their end when
// the run is stopped: INT, TERM and HUP remove every one of them, where a
// killed run's are removed by the next run into their folder.
#pragma once

#include <string>

namespace platform {

// Which run made a temporary file, for its name: the process id and start
// time of the run's first process, the same in all its workers. A process
// id alone is reused; with its start time a file tells whether the run that
// made it is still alive.
const std::string& RunStamp();

// Marks `path` as a temporary file (or folder) of this process, to be
// removed if the run is stopped; noted before it is created, forgotten once
// it has its name or is gone. Quietly does nothing when too many are noted.
void NoteTemporary(const std::string& path);
void NoteTemporaryFolder(const std::string& path);
void ForgetTemporary(const std::string& path);

// Forgets every temporary file of this process: a worker's files belong to
// its caller once the job's result that names them is sent.
void ForgetAllTemporaries();

// Removes every temporary file of this process now (a worker that lost its
// caller).
void RemoveTemporaries();

// Installed first thing in main: INT, TERM and HUP end the run's workers,
// remove every temporary file of the run, and end the process as the signal
// would (its exit status is 128 + the signal). Elsewhere than POSIX nothing
// is installed.
void StopCleanlyOnSignals();

// Removes from `folder` the temporary files of runs that are no longer
// alive, never those of a live one; and has a stopped run remove there its
// own too (pictures its workers had finished and not yet handed on).
void TidyTemporaries(const std::string& folder);

// The workers a stop ends first; RunWorkers notes each it starts.
void NoteWorker(long pid);
void ForgetWorker(long pid);

// Signals that stop a run are held off while a worker is started or a
// temporary folder made, so that none is left unnoted. Nestable.
class HeldStops {
  public:
    HeldStops();
    ~HeldStops();
    HeldStops(const HeldStops&) = delete;
    HeldStops& operator=(const HeldStops&) = delete;

  private:
    alignas(8) unsigned char saved_[128] = {};  // the signal mask before
};

}  // namespace platform
