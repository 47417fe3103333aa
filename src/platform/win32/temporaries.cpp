// Windows stops a console program without signals to catch (Ctrl-C ends it
// from a thread of its own): temporaries are named by the writer and left
// to it alone.
#include "platform/temporaries.h"

#include <windows.h>

namespace platform {

const std::string& RunStamp() {
    static const std::string stamp = std::to_string(::GetCurrentProcessId());
    return stamp;
}

void NoteTemporary(const std::string&) {}
void ForgetTemporary(const std::string&) {}
TemporaryStep::TemporaryStep() = default;
TemporaryStep::~TemporaryStep() = default;
void StopCleanlyOnSignals() {}
void TidyTemporaries(const std::string&) {}

}  // namespace platform
