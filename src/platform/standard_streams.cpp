#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool PlugClosedStandardStreams() {
    bool stdoutClosed = false;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int plug = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (plug >= 0 && plug != fd) {
            ::dup2(plug, fd);
            ::close(plug);
        }
        if (fd == STDOUT_FILENO) stdoutClosed = true;
    }
    return stdoutClosed;
}

void UseUtf8Arguments(int& /*argc*/, char**& /*argv*/) {}

}  // namespace platform
