// Car files: one 1,344-byte car record of the loaded track behind an 8-byte
// header, as the game reads them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace exporter {

inline constexpr std::int64_t kCarFileHeaderSize = 8;
inline constexpr std::int64_t kCarFileSize = 1352;

// The car number of an answer in the input dialog: blanks and tabs skipped,
// an optional sign, then decimal digits, "$" and hexadecimal digits, or "%"
// and binary digits, up to the first other character. No digits read as 0.
// Computed in 64 bits; the low 32 bits count, as a signed number.
std::int32_t ReadCarNumber(std::string_view text);

// The name the save dialog proposes for car `k` (0..6): the current
// directory, the car's name and ".car", in the file system's encoding.
std::string ProposedCarName(int k);

}  // namespace exporter
