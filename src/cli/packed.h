// Counts in trk's packed lists (the tracks of a run, the names it gave):
// one byte below 128, seven bits a byte, the high bit saying that more
// follow. An archive of ten thousand tracks then costs a few bytes a track.
#pragma once

#include <cstddef>
#include <string>

namespace cli {

inline void PutCount(std::string& bytes, std::size_t count) {
    for (; count >= 0x80; count >>= 7) bytes += static_cast<char>((count & 0x7f) | 0x80);
    bytes += static_cast<char>(count);
}

// Reads the count at `at` of bytes the list wrote itself, and moves past it.
inline std::size_t TakeCount(const std::string& bytes, std::size_t& at) {
    std::size_t count = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        count |= std::size_t{byte & 0x7fu} << shift;
        if (byte < 0x80) return count;
    }
}

// A list's blocks are given room for a million names at once once it
// holds this many, rather than doubled as they grow: room not yet written
// takes no memory, while each doubling left the block before it behind in
// the heap, which made a large run's peak memory grow by twice its names.
inline constexpr std::size_t kManyNames = 1024;
inline constexpr std::size_t kReservedNameBytes = std::size_t{16} << 20;

}  // namespace cli
