// The files a run keeps under temporary names (the safe writer's, pictures
// waiting for their names), and their end when the run is stopped: INT,
// TERM and HUP remove every one of them, where a killed run's are removed
// by the next run into their folder.
#pragma once

#include <string>

namespace platform {

// Which run made a temporary file, for its name: the process id and start
// time of the run's process. A process id alone is reused; with its start
// time a file tells whether the run that made it is still alive.
const std::string& RunStamp();

// Marks `path` as a temporary file of this run, to be removed if the run is
// stopped; noted before it is created, forgotten once it has its name or is
// gone. Quietly does nothing when too many are noted (a stop then finds
// them in a folder TidyTemporaries was given).
void NoteTemporary(const std::string& path);
void ForgetTemporary(const std::string& path);

// A step that a stop cannot split, on any thread: noting a temporary file
// and creating it, or forgetting one. A stop waits for every thread inside
// such a step to leave it and lets none enter afterwards, so that no file
// is created after the stop has looked for them. Nestable.
class TemporaryStep {
  public:
    TemporaryStep();
    ~TemporaryStep();
    TemporaryStep(const TemporaryStep&) = delete;
    TemporaryStep& operator=(const TemporaryStep&) = delete;

  private:
    alignas(8) unsigned char saved_[128] = {};  // the thread's signal mask before
};

// Installed first thing in main: INT, TERM and HUP remove every temporary
// file of the run, and end the process as the signal would (its exit
// status is 128 + the signal). Elsewhere than POSIX nothing is installed.
void StopCleanlyOnSignals();

// Removes from `folder` the temporary files of runs that are no longer
// alive, never those of a live one; and has a stopped run remove there its
// own too (pictures its workers had finished and not yet named).
void TidyTemporaries(const std::string& folder);

}  // namespace platform
