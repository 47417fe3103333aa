// The parts of the safe writer that are the same on every system.
#include "platform/safe_file_shared.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

std::string WriteAndFlush(std::FILE* file, const StreamWriter& write) {
    errno = 0;
    std::string error = write(file);
    // The libraries word a failed write their own way; the system says why.
    const int writeErrno = errno;
    if (!error.empty() && std::ferror(file) && writeErrno != 0)
        error += std::string(" (") + std::strerror(writeErrno) + ")";
    if (error.empty() && (std::fflush(file) != 0 || std::ferror(file)))
        error = std::strerror(errno != 0 ? errno : EIO);
    return error;
}

WriteResult WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            const FileIdentity& keep) {
    return WriteFileSafely(
        path,
        [bytes](std::FILE* file) -> std::string {
            if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
                return std::strerror(errno);
            return "";
        },
        keep);
}

}  // namespace platform
