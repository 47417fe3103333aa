// Car files: one 1,344-byte car record of a track behind an 8-byte header,
// as the game reads them; and how the tool reads a car's number.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "track/track.h"

namespace exporter {

inline constexpr std::int64_t kCarFileHeaderSize = 8;
inline constexpr std::int64_t kCarFileSize = 1352;

// The 1,352 bytes of the file of car k (0 for the best entry's, 1 to 6 for
// the places'), or why there is none: a refused track, a number outside 0
// to 6, a record beyond the end of the file.
platform::Result<std::vector<std::uint8_t>> CarFile(const track::Track& track, int k);

// The value of a digit of base 2, 10 or 16 (0-9, A-F, a-f); 99 for any other
// character, which no base takes.
int DigitValue(char c);

// The car number of an answer in the input dialog: blanks and tabs skipped,
// an optional sign, then decimal digits, "$" and hexadecimal digits, or "%"
// and binary digits, up to the first other character. No digits read as 0.
// Computed in 64 bits; the low 32 bits count, as a signed number.
std::int32_t ReadCarNumber(std::string_view text);

}  // namespace exporter
