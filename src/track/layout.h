// Where things lie in a track file. Positions are 64-bit: N, M, R and G come
// from the file unchecked, and no value of theirs may wrap a position.
#pragma once

#include <algorithm>
#include <cstdint>

namespace track {

inline constexpr std::int16_t kVersion = 261;  // 1.05
// The largest track file the tool reads: the first half of the window's buffer.
inline constexpr std::int64_t kLargestFile = 1'000'000;
inline constexpr std::int64_t kVersionOffset = 0;
inline constexpr std::int64_t kMarkOffset = 2;
inline constexpr std::int64_t kTrailerOffsetField = 4;
inline constexpr std::int64_t kWorldSizeOffset = 8;
inline constexpr std::int64_t kWaterLevelOffset = 9;
inline constexpr std::int64_t kAngleOffset = 10;
inline constexpr std::int64_t kRotationOffset = 12;
inline constexpr std::int64_t kZoomOffset = 14;
inline constexpr std::int64_t kStartFinishOffset = 15;
inline constexpr std::int64_t kLandmapCountOffset = 16;
inline constexpr std::int64_t kHeaderSize = 20;
inline constexpr std::int64_t kLandmapOffset = 20;
inline constexpr std::int64_t kHeightMapSize = 4096;
inline constexpr std::int64_t kObjectRecordSize = 8;

// Relative to the trailer position R.
inline constexpr std::int64_t kAuthorFromTrailer = -536;
inline constexpr int kAuthorWidth = 30;
inline constexpr std::int64_t kTrackLengthFromTrailer = -4;
inline constexpr std::int64_t kBestNameFromTrailer = 14;
inline constexpr std::int64_t kNameStride = 13;
inline constexpr int kNameWidth = 12;
inline constexpr std::int64_t kCarsFromTrailer = 105;
inline constexpr std::int64_t kCarRecordSize = 1344;
inline constexpr int kCarCount = 7;
inline constexpr std::int64_t kRecordDateFromTrailer = 9513;
inline constexpr std::int64_t kRecordDateSize = 16;
inline constexpr std::int64_t kGhostFromTrailer = 9625;
inline constexpr std::int64_t kGhostFrameSize = 12;

// Landmap: N + 1 two-byte pairs from offset 20.
constexpr std::int64_t LandmapPairCount(std::int32_t n) {
    return std::int64_t{n} + 1;
}
// The pairs of a landmap of count `n` that lie inside a file of `size`
// bytes: a damaged count may point far beyond the file, and a walk over
// the pairs stops at its end rather than counting to two billion.
constexpr std::int64_t LandmapPairsInside(std::int32_t n, std::int64_t size) {
    return std::max<std::int64_t>(0, std::min(LandmapPairCount(n), (size - kLandmapOffset) / 2));
}
constexpr std::int64_t HeightMapPosition(std::int32_t n) {
    return 22 + 2 * std::int64_t{n};
}
constexpr std::int64_t ObjectsPosition(std::int32_t n) {
    return HeightMapPosition(n) + kHeightMapSize;
}
constexpr std::int64_t CarRecordPosition(std::int64_t trailer, int k) {
    return trailer + kCarsFromTrailer + kCarRecordSize * k;
}
constexpr std::int16_t GhostFrames(std::int16_t g) {
    return static_cast<std::int16_t>(g / 2);
}

}  // namespace track
