// The parts of the safe writer that are the same on every system.
#include "platform/safe_file_shared.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

Result<> TargetVerdict(const std::string& name, bool folder, bool regular, bool kept) {
    if (folder) return Refuse(name + " is a folder");
    if (!regular) return Refuse(name + " is not a regular file");
    if (kept) return Refuse(name + " is the track being read");
    return {};
}

Result<> WriteFileSafely(const std::string& path, const StreamWriter& write,
                         const FileIdentity& keep, AtLink link) {
    // A link to be replaced is not looked through: what it names is no target.
    Result<> check = link == AtLink::kFollow ? CheckTarget(path, keep) : Result<>{};
    if (path.empty()) check = Refuse("no file name given");
    if (!check) return check;
    return WriteThroughTemporary(path, write, link);
}

Result<> WriteAndFlush(std::FILE* file, const StreamWriter& write) {
    errno = 0;
    Result<> written = write(file);
    // The libraries word a failed write their own way; the system says why.
    const int writeErrno = errno;
    if (!written) {
        if (std::ferror(file) && writeErrno != 0)
            return Fail(written.reason() + " (" + std::strerror(writeErrno) + ")");
        return written;
    }
    if (std::fflush(file) != 0 || std::ferror(file))
        return Fail(std::strerror(errno != 0 ? errno : EIO));
    return {};
}

Result<> WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                         const FileIdentity& keep, AtLink link) {
    return WriteFileSafely(
        path,
        [bytes](std::FILE* file) -> Result<> {
            // An empty span may have no data at all, which fwrite must not be given.
            if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
                return Fail(std::strerror(errno));
            return {};
        },
        keep, link);
}

}  // namespace platform
