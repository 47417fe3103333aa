#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/memory.h"

namespace platform {

Result<FileRead> ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Refuse(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Refuse(S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file");
    }
    if (info.st_size > static_cast<off_t>(buffer.size())) {
        ::close(fd);
        return Refuse("longer than " + std::to_string(buffer.size()) + " bytes");
    }
    FileRead read{
        0,
        {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino), true}};
    const std::int64_t length = info.st_size;
    WillWrite(buffer.first(static_cast<std::size_t>(length)));
    int error = 0;
    while (read.bytesRead < length) {
        const ssize_t got = ::read(fd, buffer.data() + read.bytesRead,
                                   static_cast<std::size_t>(length - read.bytesRead));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        read.bytesRead += got;
    }
    ::close(fd);
    if (error != 0) return Fail(std::strerror(error));
    return read;
}

}  // namespace platform
