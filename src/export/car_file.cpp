#include "export/car_file.h"

#include <array>
#include <string>

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

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

std::int32_t ReadCarNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned, so that long answers wrap as the 64-bit sum would.
    std::uint64_t value = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i)
        value = value * static_cast<std::uint64_t>(base) +
                static_cast<std::uint64_t>(DigitValue(text[i]));
    if (negative) value = 0 - value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace exporter
