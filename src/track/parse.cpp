#include <algorithm>
#include <string>

#include "track/layout.h"
#include "track/track.h"

namespace track {
namespace {

// Names and the author lose leading and trailing blanks; tabs stay.
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Two characters: cut when longer, filled with "0" on the left when shorter.
std::string TwoCharacters(std::int16_t value) {
    std::string text = std::to_string(value);
    if (text.size() > 2) text.resize(2);
    return std::string(2 - text.size(), '0') + text;
}

std::string FormatRecordDate(const DateTime& d) {
    return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year) +
           "   " + std::to_string(d.hour) + ":" + TwoCharacters(d.minute) + "." +
           TwoCharacters(d.second);
}

// Rotation is byte 12 less (byte 13 + 1) when byte 13 is set.
std::int16_t Rotation(const bytes::Reader& file) {
    const int low = file.U8(kRotationOffset);
    const int high = file.U8(kRotationOffset + 1);
    return static_cast<std::int16_t>(low - (high != 0 ? high + 1 : 0));
}

// Whether every section the tool reads lies inside the file.
bool SectionsInside(const Track& t) {
    const bytes::Reader& file = t.file;
    const std::int64_t objectBytes =
        2 + kObjectRecordSize * std::max<std::int16_t>(t.objectCount, 0);
    const std::int64_t ghostBytes =
        2 + kGhostFrameSize * std::max<std::int16_t>(t.ghostFrameCount, 0);
    const std::int64_t trailer = t.at.trailer;
    return file.Has(0, kHeaderSize) &&
           file.Has(kLandmapOffset,
                    std::max<std::int64_t>(0, 2 * LandmapPairCount(t.landmapCount))) &&
           file.Has(t.at.heightMap, kHeightMapSize) && file.Has(t.at.objects, objectBytes) &&
           file.Has(trailer + kAuthorFromTrailer, kAuthorWidth) &&
           file.Has(trailer + kTrackLengthFromTrailer, 4) && file.Has(trailer, kGhostFromTrailer) &&
           file.Has(t.at.ghost, ghostBytes);
}

}  // namespace

Track Parse(std::span<const std::uint8_t> bytes) {
    Track t;
    t.file = bytes::Reader(bytes);
    const bytes::Reader& file = t.file;
    if (file.I16(kVersionOffset) != kVersion || file.Text(kMarkOffset, 2) != "VT") {
        t.refusal = "not a Velocitra 1.05 track";
        return t;
    }

    t.worldSize = file.U8(kWorldSizeOffset);
    t.waterLevel = file.U8(kWaterLevelOffset);
    t.angle = file.U8(kAngleOffset);
    t.rotation = Rotation(file);
    t.zoom = file.U8(kZoomOffset);
    t.startFinishLine = file.U8(kStartFinishOffset);

    t.landmapCount = file.I32(kLandmapCountOffset);
    t.at.heightMap = HeightMapPosition(t.landmapCount);
    t.at.objects = ObjectsPosition(t.landmapCount);
    t.at.trailer = file.I32(kTrailerOffsetField);
    t.at.recordDate = t.at.trailer + kRecordDateFromTrailer;
    t.at.ghost = t.at.trailer + kGhostFromTrailer;
    t.objectCount = file.I16(t.at.objects);

    const std::int64_t trailer = t.at.trailer;
    t.trackLength = file.I32(trailer + kTrackLengthFromTrailer);
    t.author = Trimmed(file.Text(trailer + kAuthorFromTrailer, kAuthorWidth));
    for (int k = 0; k < kCarCount; ++k) {
        Result& r = t.results[k];
        r.time = file.I16(trailer + 2 * std::int64_t{k});
        r.driver = Trimmed(file.Text(trailer + kBestNameFromTrailer + kNameStride * k, kNameWidth));
        r.car = Trimmed(file.Text(CarRecordPosition(trailer, k), kNameWidth));
    }
    t.recordDate = FormatRecordDate(RecordDate(t));
    t.ghostFrameCount = GhostFrames(file.I16(t.at.ghost));
    t.damaged = !SectionsInside(t);
    return t;
}

DateTime RecordDate(const Track& track) {
    const bytes::Reader& file = track.file;
    const std::int64_t at = track.at.recordDate;
    return {file.I16(at),     file.I16(at + 2),  file.I16(at + 6),
            file.I16(at + 8), file.I16(at + 10), file.I16(at + 12)};
}

std::span<const std::uint8_t> CarRecord(const Track& track, int k) {
    if (k < 0 || k >= kCarCount) return {};
    return track.file.Bytes(CarRecordPosition(track.at.trailer, k), kCarRecordSize);
}

}  // namespace track
