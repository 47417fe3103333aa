#include <algorithm>
#include <string>

#include "app/state.h"
#include "app/status_log.h"
#include "platform/windowing.h"
#include "track/layout.h"
#include "track/reader.h"
#include "track/track.h"

namespace track {
namespace {

void Line(const std::string& text) {
    platform::AppendInfoLine(kInfoListControl, text);
}

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

std::string FormatRecordDate(const Reader& file, std::int64_t at) {
    return std::to_string(file.I16(at + 6)) + "." + std::to_string(file.I16(at + 2)) + "." +
           std::to_string(file.I16(at)) + "   " + std::to_string(file.I16(at + 8)) + ":" +
           TwoCharacters(file.I16(at + 10)) + "." + TwoCharacters(file.I16(at + 12));
}

// Rotation is byte 12 less (byte 13 + 1) when byte 13 is set.
std::int16_t Rotation(const Reader& file) {
    const int low = file.U8(kRotationOffset);
    const int high = file.U8(kRotationOffset + 1);
    return static_cast<std::int16_t>(low - (high != 0 ? high + 1 : 0));
}

// Whether every section the tool reads lies inside the loaded file.
bool SectionsInside(const Reader& file, std::int32_t n, std::int64_t trailer, std::int16_t objects,
                    std::int16_t frames) {
    const std::int64_t objectBytes = 2 + kObjectRecordSize * std::max<std::int16_t>(objects, 0);
    const std::int64_t ghostBytes = 2 + kGhostFrameSize * std::max<std::int16_t>(frames, 0);
    return file.Has(0, kHeaderSize) &&
           file.Has(kLandmapOffset, std::max<std::int64_t>(0, 2 * LandmapPairCount(n))) &&
           file.Has(HeightMapPosition(n), kHeightMapSize) &&
           file.Has(ObjectsPosition(n), objectBytes) &&
           file.Has(trailer + kAuthorFromTrailer, kAuthorWidth) &&
           file.Has(trailer + kTrackLengthFromTrailer, 4) && file.Has(trailer, kGhostFromTrailer) &&
           file.Has(trailer + kGhostFromTrailer, ghostBytes);
}

}  // namespace

void ParseTrack() {
    app::AnalyserState& s = app::state;
    const Reader file = LoadedTrack();
    s.TrackRejected = 0;

    if (file.I16(kVersionOffset) != kVersion || file.Text(kMarkOffset, 2) != "VT") {
        s.TrackRejected = 1;
        s.StatusMessage = "Caution: Version <> 1.05";
        app::PostStatus();
        return;
    }

    Line("Velocitra 1.05");
    Line(" ");
    s.WorldSize = file.U8(kWorldSizeOffset);
    Line("Worldsize: " + std::to_string(s.WorldSize));
    s.WaterLevel = file.U8(kWaterLevelOffset);
    Line("Waterlevel: " + std::to_string(s.WaterLevel));
    s.Angle = file.U8(kAngleOffset);
    Line("Angel: " + std::to_string(s.Angle));
    s.Rotation = Rotation(file);
    Line("Rotation: " + std::to_string(s.Rotation));
    s.Zoom = file.U8(kZoomOffset);
    Line("Zoom: " + std::to_string(s.Zoom));
    s.StartFinishLine = file.U8(kStartFinishOffset);
    Line("S/F Line: " + std::to_string(s.StartFinishLine));
    Line(" ");

    const std::int32_t n = file.I32(kLandmapCountOffset);
    s.LandmapSize = 2 * std::int64_t{n};
    Line("Landmap: " + std::to_string(s.LandmapSize) + " Bytes");

    s.TrailerData = s.TrackData + file.I32(kTrailerOffsetField);
    s.RecordDateData = s.TrailerData + kRecordDateFromTrailer;
    s.GhostData = s.TrailerData + kGhostFromTrailer;
    s.HeightMapData = s.TrackData + HeightMapPosition(n);
    s.ObjectsData = s.TrackData + ObjectsPosition(n);
    s.ObjectCount = file.I16(s.ObjectsData - s.TrackData);
    Line("# Objecte: " + std::to_string(s.ObjectCount));

    const std::int64_t trailer = s.TrailerData - s.TrackData;
    s.TrackLength = file.I32(trailer + kTrackLengthFromTrailer);
    Line("Trk-L\xE4nge: " + std::to_string(s.TrackLength));
    Line(" ");

    s.TrackAuthor = Trimmed(file.Text(trailer + kAuthorFromTrailer, kAuthorWidth));
    Line("Autor: " + s.TrackAuthor);
    Line(" ");

    s.BestTime = file.I16(trailer);
    s.BestName = Trimmed(file.Text(trailer + kBestNameFromTrailer, kNameWidth));
    s.RecordDate = FormatRecordDate(file, s.RecordDateData - s.TrackData);
    Line("Best: " + s.BestName + " " + std::to_string(s.BestTime) + "  " + s.RecordDate);

    for (int p = 1; p <= 6; ++p) {
        s.PlaceTimes[p] = file.I16(trailer + 2 * static_cast<std::int64_t>(p));
        s.PlaceNames[p] =
            Trimmed(file.Text(trailer + kBestNameFromTrailer + kNameStride * p, kNameWidth));
        Line(std::to_string(p) + ".: " + s.PlaceNames[p] + " " + std::to_string(s.PlaceTimes[p]));
    }
    Line(" ");

    for (int k = 0; k < kCarCount; ++k) {
        s.CarNames[k] = Trimmed(file.Text(CarRecordPosition(trailer, k), kNameWidth));
        Line((k == 0 ? std::string("Car Best:") : std::to_string(k) + ":") + s.CarNames[k]);
    }
    Line(" ");

    s.GhostFrameCount = GhostFrames(file.I16(s.GhostData - s.TrackData));
    Line("Ghost Frames:" + std::to_string(s.GhostFrameCount));

    s.TrackRejected = 0;
    s.TrackAccepted = true;

    s.TrackDamaged = !SectionsInside(file, n, trailer, s.ObjectCount, s.GhostFrameCount);
    if (s.TrackDamaged) {
        s.StatusMessage = "Caution: File damaged, parts lie beyond its end";
        app::PostStatus();
    }
}

}  // namespace track
