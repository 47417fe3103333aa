// The file layer's reading side: whole-file reads into a caller's buffer.
// Every write goes through platform/safe_file.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/result.h"
#include "platform/safe_file.h"

namespace platform {

// What a whole-file read put at the start of the buffer.
struct FileRead {
    std::int64_t bytesRead = 0;  // all that arrived: fewer when the file shrank meanwhile
    FileIdentity identity;       // which file was read
};

// Reads the whole file `path` into the start of `buffer`. A file that
// cannot be opened, is not a regular file or is longer than the buffer is
// refused and not read at all, so the buffer keeps what it held; a read
// that fails part way has overwritten the start of the buffer.
Result<FileRead> ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer);

}  // namespace platform
