// Windows stops a console program without signals to catch (Ctrl-C ends it
// from a thread of its own), and its runs go one track after another in one
// process: temporaries are named by the writer and left to it alone.
#include "platform/temporaries.h"

#include <windows.h>

namespace platform {

const std::string& RunStamp() {
    static const std::string stamp = std::to_string(::GetCurrentProcessId());
    return stamp;
}

void NoteTemporary(const std::string&) {}
void NoteTemporaryFolder(const std::string&) {}
void ForgetTemporary(const std::string&) {}
void ForgetAllTemporaries() {}
void RemoveTemporaries() {}
void StopCleanlyOnSignals() {}
void TidyTemporaries(const std::string&) {}
void NoteWorker(long) {}
void ForgetWorker(long) {}
HeldStops::HeldStops() = default;
HeldStops::~HeldStops() = default;

}  // namespace platform
