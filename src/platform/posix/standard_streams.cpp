#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

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

bool IsTerminal(StandardStream stream) {
    switch (stream) {
        case StandardStream::kInput:
            return ::isatty(STDIN_FILENO) != 0;
        case StandardStream::kOutput:
            return ::isatty(STDOUT_FILENO) != 0;
        case StandardStream::kError:
            return ::isatty(STDERR_FILENO) != 0;
    }
    return false;
}

Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fail(std::strerror(errno));
        if (got == 0) return bytes;
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > limit) return Fail("longer than " + std::to_string(limit) + " bytes");
    }
}

}  // namespace platform
