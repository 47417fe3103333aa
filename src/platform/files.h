// The file layer's reading side: whole-file reads into a caller's buffer.
// Every write goes through platform/safe_file.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/result.h"
#include "platform/safe_file.h"

namespace platform {

struct ReadResult {
    bool opened = false;         // the file could be opened and is a regular file
    bool tooLong = false;        // longer than the buffer; nothing was read
    std::int64_t length = 0;     // its length, when opened
    std::int64_t bytesRead = 0;  // what actually arrived (a short read counts only these)
    std::string error;           // why the file was not read whole; empty when it was
    FileIdentity identity;       // which file was read, when opened
};

// Reads the whole file `path` into the start of `buffer`. A file longer than
// the buffer is not read at all, so the buffer keeps what it held.
ReadResult ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer);

// Makes a new folder that only this user may enter, in the system's folder
// for temporary files, its name starting with `prefix`; gives its path.
Result<std::string> MakePrivateTemporaryFolder(const std::string& prefix);

}  // namespace platform
