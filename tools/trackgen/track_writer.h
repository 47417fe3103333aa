// Writes track files of our own from a description of their contents: the
// demo generator and the tests build every track they use with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trackgen {

struct ObjectRecord {
    std::int8_t type = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint8_t heading = 0;
};

struct GhostFrame {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

struct RecordDate {
    std::int16_t year = 2004, month = 3, dayOfWeek = 0, day = 7, hour = 9, minute = 5, second = 7,
                 milliseconds = 0;
};

struct TrackContents {
    std::int16_t version = 261;
    std::string mark = "VT";  // written into the two bytes at 2, NUL-padded
    std::uint8_t worldSize = 100;
    std::uint8_t waterLevel = 0;
    std::uint8_t angle = 0;
    std::uint8_t rotationLow = 0;
    std::uint8_t rotationHigh = 0;
    std::uint8_t zoom = 0;
    std::uint8_t startFinishLine = 0;

    // Landmap pairs as (first byte, second byte); N is their count less one.
    // An empty list writes the single pair 00 00 (N = 0).
    std::vector<std::array<std::uint8_t, 2>> landmap;
    std::array<std::uint8_t, 4096> heights{};
    std::vector<ObjectRecord> objects;
    std::size_t gapBeforeAuthor = 0;  // unread bytes between the objects and the author area

    std::string author;  // up to 30 bytes
    std::int32_t trackLength = 0;
    std::int16_t bestTime = 6000;
    std::array<std::int16_t, 6> placeTimes{6000, 6000, 6000, 6000, 6000, 6000};
    std::string bestName;                   // up to 13 bytes
    std::array<std::string, 6> placeNames;  // up to 13 bytes each
    std::array<std::string, 7> carNames;    // up to 1344 bytes each
    RecordDate date;
    std::vector<GhostFrame> ghost;

    // Written in place of the computed values, for damaged and hostile files.
    std::optional<std::int32_t> landmapCount;
    std::optional<std::int16_t> objectCount;
    std::optional<std::int32_t> trailerOffset;
    std::optional<std::int16_t> ghostLength;
};

// Where the sections of a written file lie.
struct TrackLayout {
    std::int64_t heightMap = 0;
    std::int64_t objects = 0;
    std::int64_t trailer = 0;  // R
    std::int64_t ghost = 0;
    std::int64_t end = 0;  // file length
};

TrackLayout LayoutOf(const TrackContents& track);

// The bytes of the track file. Car record k carries, after its name, the
// bytes (k * 31 + i) & 0xFF at position i, so that copies can be recognised.
std::vector<std::uint8_t> WriteTrack(const TrackContents& track);

// Little-endian numbers written into `b` at `at`, for hand-shaped files.
void Put16(std::vector<std::uint8_t>& b, std::int64_t at, std::int32_t v);
void Put32(std::vector<std::uint8_t>& b, std::int64_t at, std::int32_t v);

bool SaveFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace trackgen
