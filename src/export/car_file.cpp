#include "export/car_file.h"

#include <array>
#include <string>

#include "bytes/number_text.h"

namespace exporter {
namespace {

// The record's length, 1,344, and the value 1, as two little-endian u32.
constexpr std::array<std::uint8_t, kCarFileHeaderSize> kCarFileHeader = {0x40, 0x05, 0, 0,
                                                                         1,    0,    0, 0};

}  // namespace

platform::Result<std::vector<std::uint8_t>> CarFile(const track::Track& track, int k) {
    if (track.Refused()) return platform::Fail("the file is not a track");
    if (k < 0 || k >= track::kCarCount)
        return platform::Fail("no car " + std::to_string(k) + "; the cars are 0 to 6");
    const std::span<const std::uint8_t> record = track::CarRecord(track, k);
    if (record.empty())
        return platform::Fail("car " + std::to_string(k) +
                              " lies beyond the end of the track file");
    std::vector<std::uint8_t> bytes(kCarFileHeader.begin(), kCarFileHeader.end());
    bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

std::string CarSavedStatus(std::string_view carName) {
    return std::string(carName) + " saved";
}

std::string CarNotSavedStatus(std::string_view reason) {
    return "Car not saved: " + std::string(reason);
}

std::int32_t ReadCarNumber(std::string_view text) {
    const bytes::NumberText number = bytes::ReadNumber(text);
    const std::uint64_t value = number.negative ? 0 - number.magnitude : number.magnitude;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace exporter
