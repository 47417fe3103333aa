#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

ReadResult ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer) {
    ReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        ::close(fd);
        return result;
    }
    result.opened = true;
    result.length = info.st_size;
    if (info.st_size > static_cast<off_t>(buffer.size())) {
        result.tooLong = true;
        result.error = "longer than " + std::to_string(buffer.size()) + " bytes";
        ::close(fd);
        return result;
    }
    while (result.bytesRead < result.length) {
        const ssize_t got = ::read(fd, buffer.data() + result.bytesRead,
                                   static_cast<std::size_t>(result.length - result.bytesRead));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        result.bytesRead += got;
    }
    ::close(fd);
    return result;
}

std::string WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return std::strerror(errno);
    // Only a regular file is ours to remove: a failed write to a device
    // such as /dev/full must not delete the device node (we may run as root).
    struct stat info {};
    const bool regular = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    std::string error;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        error = std::strerror(errno);
    if (std::fclose(file) != 0 && error.empty()) error = std::strerror(errno);
    if (!error.empty() && regular) std::remove(path.c_str());
    return error;
}

}  // namespace platform
