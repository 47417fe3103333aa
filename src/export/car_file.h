// Car files: one 1,344-byte car record of a track behind an 8-byte header,
// as the game reads them; and how the tool reads a car's number.
#pragma once

#include <cstdint>
#include <string>
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

// What the status log tells of a car file: "<the car's name> saved", or
// "Car not saved: " and why (Windows-1252).
std::string CarSavedStatus(std::string_view carName);
std::string CarNotSavedStatus(std::string_view reason);

// The car number of an answer in the input dialog, read by
// bytes::ReadNumber: no digits read as 0; computed in 64 bits, of which the
// low 32 count, as a signed number.
std::int32_t ReadCarNumber(std::string_view text);

}  // namespace exporter
