// The file layer: whole-file reads into a caller's buffer, and small writes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace platform {

struct ReadResult {
    bool opened = false;         // the file could be opened and is a regular file
    bool tooLong = false;        // longer than the buffer; nothing was read
    std::int64_t length = 0;     // its length, when opened
    std::int64_t bytesRead = 0;  // what actually arrived (a short read counts only these)
    std::string error;           // why nothing was read, for messages
};

// Reads the whole file `path` into the start of `buffer`. A file longer than
// the buffer is not read at all, so the buffer keeps what it held.
ReadResult ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer);

// Creates or replaces `path` and writes `bytes` to it. On any failure the
// partial file is removed and the reason returned; empty means success.
std::string WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace platform
