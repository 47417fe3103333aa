// The one way the tool writes a file. The bytes go to a new temporary file
// beside the target, which replaces the target by a rename only once every
// write, the flush to disk and the close have succeeded. The target is never
// opened, so a failure leaves an existing file exactly as it was, a FIFO
// cannot block, and writers racing for one path each leave a whole file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

#include "platform/result.h"

namespace platform {

// Which file a path named when it was read: device and inode, so that a
// symbolic or hard link to it is recognised without comparing paths.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Refuses, without opening anything, a target that exists but is not a
// regular file (a folder, FIFO or device), and the file `keep` (the track
// being read). Succeeds when the target may be written.
Result<> CheckTarget(const std::string& path, const FileIdentity& keep);

// Writes into the temporary file. The writer checks the stream's own errors
// as well.
using StreamWriter = std::function<Result<>(std::FILE* file)>;

// What a write does with a symbolic link at its target.
enum class AtLink {
    kFollow,   // the file it names is replaced and the link stays
    kReplace,  // the link itself is replaced: the tool's own files (a cache)
               // are never written outside their folder, wherever a link points
};

// Creates or replaces `path`. A replaced file keeps its permission bits; a
// new one gets 0666 less the umask. A failure says why (UTF-8, may name the
// file) and leaves the target as it was; it is refused when the target may
// not be written at all (CheckTarget).
Result<> WriteFileSafely(const std::string& path, const StreamWriter& write,
                         const FileIdentity& keep = {}, AtLink link = AtLink::kFollow);
Result<> WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                         const FileIdentity& keep = {}, AtLink link = AtLink::kFollow);

// Writes a new file under a name of its own in `folder` (hidden, of the kind
// the temporary files above have) and returns that name, for MoveIntoPlace
// to give the file its own later. After a failure nothing is left behind;
// until then a stopped run removes it (platform/temporaries.h).
Result<std::string> WriteUnnamed(const std::string& folder, const StreamWriter& write);

// Renames `written`, a file this run wrote whole (by WriteUnnamed), to
// `path`, with the care WriteFileSafely takes over its own temporary file:
// refused as by CheckTarget, a link followed, a replaced file's permission
// bits kept and the new bytes on disk before the rename. The two must be in
// one folder. Whatever the outcome, `written` is gone afterwards.
Result<> MoveIntoPlace(const std::string& written, const std::string& path,
                       const FileIdentity& keep = {});

// What `write` writes into a stream, as bytes in memory (a picture for
// standard output); the writer's or the stream's failure otherwise.
Result<std::string> BytesWrittenBy(const StreamWriter& write);

}  // namespace platform
