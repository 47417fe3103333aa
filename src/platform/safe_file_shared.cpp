// The parts of the safe writer that are the same on every system.
#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

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
