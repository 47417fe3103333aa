#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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
    result.identity = {static_cast<std::uint64_t>(info.st_dev),
                       static_cast<std::uint64_t>(info.st_ino), true};
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
        if (got < 0) result.error = std::strerror(errno);
        if (got <= 0) break;
        result.bytesRead += got;
    }
    ::close(fd);
    return result;
}

Result<std::string> MakePrivateTemporaryFolder(const std::string& prefix) {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) return Fail(error.message());
    std::string folder = (temporary / (prefix + "XXXXXX")).string();
    if (::mkdtemp(folder.data()) == nullptr) return Fail(std::strerror(errno));
    return folder;
}

}  // namespace platform
