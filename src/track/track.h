// A track as a value: what its file holds, read through the one bounded
// reader. Parse reads the header values, the results, the names and where
// each section lies; the sections themselves (landmap runs, height map,
// objects, ghost frames, cars) are read on demand by the functions below,
// from the same bytes. No global state: any number of tracks may live at
// once, on any thread.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/reader.h"
#include "track/layout.h"

namespace track {

// Times of 6000 hundredths or more are "no time".
inline constexpr std::int16_t kNoTime = 6000;

// A stored result: entry 0 is the best entry, 1 to 6 the places. Names and
// texts are Windows-1252, as the file holds them.
struct Result {
    std::int16_t time = 0;  // hundredths of a second
    std::string driver;
    std::string car;  // the name of stored car k
};

// Where the sections lie, as offsets into the file; 64 bits, so that no
// count read from a hostile file can wrap one.
struct Sections {
    std::int64_t heightMap = 0;
    std::int64_t objects = 0;
    std::int64_t trailer = 0;
    std::int64_t recordDate = 0;
    std::int64_t ghost = 0;
};

struct Track {
    // The bytes it was read from, which its caller keeps alive.
    bytes::Reader file;
    // Why the bytes are not taken as a track; empty when they are.
    std::string refusal;
    // Sections lie beyond the end of the file: what lies inside is read,
    // the rest reads as missing.
    bool damaged = false;

    std::uint8_t worldSize = 0;
    std::uint8_t waterLevel = 0;
    std::uint8_t angle = 0;
    std::int16_t rotation = 0;
    std::uint8_t zoom = 0;
    std::uint8_t startFinishLine = 0;
    std::int32_t landmapCount = 0;  // N: the landmap holds N + 1 run pairs
    std::int16_t objectCount = 0;
    std::int32_t trackLength = 0;
    std::string author;
    std::array<Result, kCarCount> results;
    std::string recordDate;  // D.M.Y   h:mm.ss
    std::int16_t ghostFrameCount = 0;
    Sections at;

    bool Refused() const { return !refusal.empty(); }
};

// Reads a track from its file's bytes, which must outlive the Track.
Track Parse(std::span<const std::uint8_t> bytes);

// The 32 lines the information box lists for an accepted track, and the
// line a load puts before them: the file's name (Windows-1252), three blanks,
// its size and " Bytes". Windows-1252.
std::vector<std::string> ListingLines(const Track& track);
std::string LoadLine(std::string_view fileName, std::int64_t size);

// What a load tells on the status log beside the listing (Windows-1252): a
// file that could not be read, a refused file, a damaged one. The log cuts
// every line to kStatusLineLength characters.
inline constexpr std::size_t kStatusLineLength = 100;
inline constexpr std::string_view kRefusedStatus = "Caution: Version <> 1.05";
inline constexpr std::string_view kDamagedStatus =
    "Caution: File damaged, parts lie beyond its end";
std::string ReadFailureStatus(std::string_view fileName, std::string_view reason);

// The landmap's runs in order, each as its terrain code (0..15) and length
// in pixels (0..4095), as far as the pairs lie inside the file. `visit`
// returns false to stop.
template <typename Visit>
void ForEachRun(const Track& track, Visit visit) {
    const std::span<const std::uint8_t> pairs = track.file.Bytes(
        kLandmapOffset, 2 * LandmapPairsInside(track.landmapCount, track.file.Size()));
    for (std::size_t k = 0; k + 1 < pairs.size(); k += 2) {
        const unsigned value = pairs[k] | (pairs[k + 1] << 8);
        if (!visit(static_cast<int>(value & 15), static_cast<int>(value >> 4))) return;
    }
}

// The height map's cells (0..4095, row by row from the first stored row)
// with their heights, less those a damaged file places beyond its end.
template <typename Visit>
void ForEachHeight(const Track& track, Visit visit) {
    const std::int64_t size = track.file.Size();
    const auto first =
        static_cast<int>(std::clamp<std::int64_t>(-track.at.heightMap, 0, kHeightMapSize));
    const auto end = static_cast<int>(
        std::clamp<std::int64_t>(size - track.at.heightMap, first, kHeightMapSize));
    const std::span<const std::uint8_t> cells =
        track.file.Bytes(track.at.heightMap + first, end - first);
    for (std::size_t i = 0; i < cells.size(); ++i) visit(first + static_cast<int>(i), cells[i]);
}

// Height-map cell `cell`, or nothing when it lies beyond the end of the file.
inline std::optional<std::uint8_t> Height(const Track& track, int cell) {
    const std::int64_t at = track.at.heightMap + cell;
    if (cell < 0 || cell >= kHeightMapSize || !track.file.Has(at, 1)) return std::nullopt;
    return track.file.U8(at);
}

struct Object {
    int type = 0;  // signed: bytes 128 to 255 are -128 to -1
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint8_t heading = 0;  // 244 steps a turn
};

// The object records in file order, less those a damaged file places
// beyond its end.
template <typename Visit>
void ForEachObject(const Track& track, Visit visit) {
    for (int j = 0; j < track.objectCount; ++j) {
        const std::int64_t at = track.at.objects + 2 + kObjectRecordSize * j;
        if (!track.file.Has(at, kObjectRecordSize)) continue;
        const int typeByte = track.file.U8(at);
        visit(Object{typeByte >= 128 ? typeByte - 256 : typeByte, track.file.I16(at + 2),
                     track.file.I16(at + 4), track.file.U8(at + 7)});
    }
}

struct GhostPoint {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

// Ghost frame `f` (0 to ghostFrameCount - 1), or nothing when it lies
// beyond the end of the file.
inline std::optional<GhostPoint> GhostFrame(const Track& track, int f) {
    const std::int64_t at = track.at.ghost + 2 + kGhostFrameSize * f;
    if (f < 0 || !track.file.Has(at, kGhostFrameSize)) return std::nullopt;
    return GhostPoint{track.file.U16(at), track.file.U16(at + 4)};
}

// Ghost units per map pixel at world size `worldSize`, as the tool has
// always stored it (a float).
float GhostScale(std::uint8_t worldSize);

// A ghost position on the 512 x 512 map, column from the left and row from
// the top (track positions grow upwards). -1 stands for a quotient far off
// the map, and for every position at a zero scale.
struct MapPixel {
    int column = -1;
    int row = -1;
    // Whether a 3 x 3 dot around it lies wholly on the map.
    bool InsideMargin() const { return column >= 1 && column <= 510 && row >= 1 && row <= 510; }
};

// Where the ghost overlay draws `point`: each coordinate divided by
// `scale`, to the nearest pixel, halves to even.
MapPixel GhostPixel(GhostPoint point, float scale);

// The 1,344 bytes of stored car k (0..6); empty when k is outside 0 to 6
// or the record does not lie wholly inside the file.
std::span<const std::uint8_t> CarRecord(const Track& track, int k);

// The date and time stored with the results, as the file holds them (the
// day of the week and the milliseconds are not read); zero where the record
// lies beyond the end of the file.
struct DateTime {
    std::int16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
DateTime RecordDate(const Track& track);

}  // namespace track
