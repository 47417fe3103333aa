#include "platform/safe_file.h"
#include "platform/safe_file_shared.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "platform/temporaries.h"

namespace platform {
namespace {

constexpr std::size_t kWriteBuffer = std::size_t{1} << 16;

std::string FilePart(const std::string& path) {
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Folder(const std::string& path) {
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

// A link is followed, so that the file it names is replaced and the link
// itself stays a link. A dangling link is replaced like a missing file.
std::string ResolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// A name for a new file in `folder` that no other writer picks. Names are
// short and independent of the target's, so that a long target name cannot
// make the temporary one too long; they carry the run's stamp, so that a
// later run can tell whether the one that left such a file is alive.
std::string UnusedNameIn(const std::string& folder) {
    // One generator a thread, seeded anew in a process forked from this
    // one: no two writers draw the same names.
    thread_local pid_t seededIn = ::getpid();
    thread_local std::mt19937_64 random{std::random_device{}() ^
                                        static_cast<std::uint64_t>(seededIn) << 32};
    if (seededIn != ::getpid()) {
        seededIn = ::getpid();
        random.seed(std::random_device{}() ^ static_cast<std::uint64_t>(seededIn) << 32);
    }
    char name[96];
    std::snprintf(name, sizeof name, "/.trk-%s-%016llx.tmp", RunStamp().c_str(),
                  static_cast<unsigned long long>(random()));
    return folder + name;
}

// A file that replaces `existing` takes over its owner and permission bits,
// and is on disk before the rename: a crash must not leave a replaced file
// empty or half-written. A new file had nothing before it to lose, so it is
// not waited for: the wait costs more than the rest of a picture, and a
// batch into a fresh folder writes only new files.
std::string TakeOver(int fd, const struct stat& existing) {
    // Owner first: a change of owner clears set-id bits that the mode restores.
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        // Only root may give a file away; the file is then the writer's own.
    }
    (void)::fchmod(fd, existing.st_mode & 07777);
    if (::fsync(fd) != 0 && errno != EINVAL) return std::strerror(errno);
    return "";
}

std::string CreateFailure(const std::string& folder, int error) {
    // A relative name in a working folder that was deleted.
    if (error == ENOENT && folder == ".") {
        char probe[2];
        if (::getcwd(probe, sizeof probe) == nullptr && errno == ENOENT)
            return "the working folder no longer exists";
    }
    return "cannot create a file in " + folder + ": " + std::strerror(error);
}

// A new file under a name of its own in `folder`, written whole and closed;
// one that is to replace `existing` takes it over first. Returns its name;
// after a failure nothing is left behind.
Result<std::string> WriteNewIn(const std::string& folder, const StreamWriter& write,
                               const struct stat* existing) {
    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        name = UnusedNameIn(folder);
        int error = 0;
        {
            // Noted and made in one step: a stop removes the file or keeps
            // it from being made.
            const TemporaryStep step;
            NoteTemporary(name);
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            error = errno;
            if (fd < 0) ForgetTemporary(name);
        }
        if (fd >= 0) break;
        if (error != EEXIST) return Fail(CreateFailure(folder, error));
    }
    if (fd < 0) return Fail(CreateFailure(folder, EEXIST));

    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        ::unlink(name.c_str());
        ForgetTemporary(name);
        return Fail(std::strerror(error));
    }
    // A picture is some tens of kilobytes: written in one go rather than in
    // the block size's pieces, which cost a system call each. The buffer
    // outlives the stream, which is closed below.
    const auto buffer = std::make_unique_for_overwrite<char[]>(kWriteBuffer);
    std::setvbuf(file, buffer.get(), _IOFBF, kWriteBuffer);
    const Result<> written = WriteAndFlush(file, write);
    std::string error = written.reason();
    // Bytes still on their way to the disk can fail there too (quota, NFS).
    if (error.empty() && existing != nullptr) error = TakeOver(::fileno(file), *existing);
    if (std::fclose(file) != 0 && error.empty()) error = std::strerror(errno);
    if (!error.empty()) {
        ::unlink(name.c_str());
        ForgetTemporary(name);
        return Fail(std::move(error));
    }
    return name;
}

}  // namespace

Result<> CheckTarget(const std::string& path, const FileIdentity& keep) {
    if (path.empty()) return Refuse("no file name given");
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) {
        if (errno == ENOENT) return {};
        // Said after the path by those who tell it: "trk: a/x.jpg: Not a directory".
        return Fail(std::strerror(errno));
    }
    return TargetVerdict(FilePart(path), S_ISDIR(target.st_mode), S_ISREG(target.st_mode),
                         keep.known && static_cast<std::uint64_t>(target.st_dev) == keep.device &&
                             static_cast<std::uint64_t>(target.st_ino) == keep.inode);
}

Result<> WriteThroughTemporary(const std::string& path, const StreamWriter& write, AtLink link) {
    const std::string target = link == AtLink::kFollow ? ResolvedTarget(path) : path;
    struct stat existing {};
    // A link that is replaced hands on nothing of what it names.
    const bool replacing = (link == AtLink::kFollow ? ::stat(target.c_str(), &existing)
                                                    : ::lstat(target.c_str(), &existing)) == 0 &&
                           S_ISREG(existing.st_mode);
    const Result<std::string> temporary =
        WriteNewIn(Folder(target), write, replacing ? &existing : nullptr);
    if (!temporary) return temporary.failure();
    const int renamed = ::rename(temporary->c_str(), target.c_str());
    const int error = errno;
    if (renamed != 0) ::unlink(temporary->c_str());
    ForgetTemporary(*temporary);
    if (renamed != 0) return Fail(std::strerror(error));
    return {};
}

Result<std::string> WriteUnnamed(const std::string& folder, const StreamWriter& write) {
    return WriteNewIn(folder, write, nullptr);
}

namespace {

// A link's file may be in another folder, even on another file system, where
// no rename reaches: the bytes go over there as any write does.
Result<> CopyOver(const std::string& written, const std::string& path) {
    std::FILE* from = std::fopen(written.c_str(), "rb");
    if (from == nullptr) return Fail(std::strerror(errno));
    Result<> copied = WriteThroughTemporary(
        path,
        [from](std::FILE* to) -> Result<> {
            char block[1 << 16];
            for (std::size_t got; (got = std::fread(block, 1, sizeof block, from)) > 0;)
                if (std::fwrite(block, 1, got, to) != got) return Fail(std::strerror(errno));
            if (std::ferror(from)) return Fail(std::strerror(errno));
            return {};
        },
        AtLink::kFollow);
    std::fclose(from);
    return copied;
}

Result<> Move(const std::string& written, const std::string& path) {
    if (ResolvedTarget(path) != path) return CopyOver(written, path);
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        const int fd = ::open(written.c_str(), O_RDONLY | O_CLOEXEC);
        const std::string error = fd < 0 ? std::strerror(errno) : TakeOver(fd, existing);
        if (fd >= 0) ::close(fd);
        if (!error.empty()) return Fail(error);
    }
    if (::rename(written.c_str(), path.c_str()) != 0) return Fail(std::strerror(errno));
    return {};
}

}  // namespace

Result<> MoveIntoPlace(const std::string& written, const std::string& path,
                       const FileIdentity& keep) {
    // Most often nothing is there yet (a new folder): no more to check.
    struct stat there {};
    if (!path.empty() && ::lstat(path.c_str(), &there) != 0 && errno == ENOENT &&
        ::rename(written.c_str(), path.c_str()) == 0) {
        ForgetTemporary(written);
        return {};
    }
    Result<> moved = CheckTarget(path, keep);
    if (moved) moved = Move(written, path);
    // Gone after a rename; after anything else, not to be left behind.
    ::unlink(written.c_str());
    ForgetTemporary(written);
    return moved;
}

Result<std::string> BytesWrittenBy(const StreamWriter& write) {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* memory = ::open_memstream(&data, &size);
    if (memory == nullptr) return Fail(std::strerror(errno));
    const Result<> written = write(memory);
    std::string error = written.reason();
    if (std::fclose(memory) != 0 && error.empty()) error = std::strerror(errno);
    std::string bytes = error.empty() ? std::string(data, size) : std::string();
    std::free(data);
    if (!error.empty()) return Fail(std::move(error));
    return bytes;
}

}  // namespace platform
