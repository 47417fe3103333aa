// "load": the file into the TrackBuffer, then its parse into the record.
#include <algorithm>
#include <span>
#include <string>

#include "app/actions.h"
#include "app/state.h"
#include "app/status_log.h"
#include "app/window_layout.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/windowing.h"
#include "track/layout.h"
#include "track/track.h"

namespace app {

std::span<const std::uint8_t> LoadedBytes() {
    const AnalyserState& s = state;
    if (s.TrackBuffer.empty()) return {};
    const std::int64_t size = std::clamp<std::int64_t>(s.TrackFileSize, 0, kTrackHalfSize);
    return std::span(s.TrackBuffer)
        .subspan(static_cast<std::size_t>(s.TrackData), static_cast<std::size_t>(size));
}

void LoadTrack() {
    AnalyserState& s = state;
    // A cancelled dialog leaves no folder; the next one starts where the
    // last track was found, rather than nowhere.
    const std::string start = !s.TrackDirectory.empty()    ? s.TrackDirectory
                              : !s.LastTrackFolder.empty() ? s.LastTrackFolder
                                                           : platform::CurrentDirectory();
    const std::string chosen = platform::OpenFileDialog("Select Track", start, "trk|*.trk", 0);

    s.TrackDirectory = platform::FolderPart(chosen);
    const std::string filePart = platform::FilePart(chosen);

    s.LoadError.clear();
    if (!chosen.empty()) {
        const auto half =
            std::span(s.TrackBuffer).subspan(static_cast<std::size_t>(s.TrackData), kTrackHalfSize);
        const platform::Result<platform::FileRead> read = platform::ReadWholeFile(chosen, half);
        if (!read) {
            // The previous track stays loaded, listed and drawn; only the log
            // says what happened. A read that failed half-way has overwritten
            // part of its bytes, so its positions no longer hold; how much of
            // the half it reached is not known.
            if (!read.refused()) {
                NoteBufferWrite(s.TrackData, static_cast<std::int64_t>(half.size()));
                s.TrackAccepted = false;
            }
            s.LoadError = read.reason();
            s.StatusMessage =
                track::ReadFailureStatus(platform::TextFromPath(platform::MessageName(chosen)),
                                         platform::TextFromPath(read.reason()));
            PostStatus();
            return;
        }
        NoteBufferWrite(s.TrackData, read->bytesRead);
        s.TrackFileSize = static_cast<std::int32_t>(read->bytesRead);
        s.TrackIdentity = read->identity;
    }
    // A cancelled dialog lists the unchanged buffer again under an empty name.
    s.TrackPath = chosen;
    platform::ClearInfoList(kInfoListControl);
    platform::AppendInfoLine(kInfoListControl,
                             track::LoadLine(platform::TextFromPath(filePart), s.TrackFileSize));
}

void ParseTrack() {
    AnalyserState& s = state;
    s.TrackRejected = 0;
    const track::Track t = track::Parse(LoadedBytes());
    if (t.Refused()) {
        s.TrackRejected = 1;
        s.StatusMessage = track::kRefusedStatus;
        PostStatus();
        return;
    }

    s.WorldSize = t.worldSize;
    s.WaterLevel = t.waterLevel;
    s.Angle = t.angle;
    s.Rotation = t.rotation;
    s.Zoom = t.zoom;
    s.StartFinishLine = t.startFinishLine;
    s.LandmapSize = 2 * std::int64_t{t.landmapCount};
    s.TrailerData = s.TrackData + t.at.trailer;
    s.RecordDateData = s.TrackData + t.at.recordDate;
    s.GhostData = s.TrackData + t.at.ghost;
    s.HeightMapData = s.TrackData + t.at.heightMap;
    s.ObjectsData = s.TrackData + t.at.objects;
    s.ObjectCount = t.objectCount;
    s.TrackLength = t.trackLength;
    s.TrackAuthor = t.author;
    s.BestTime = t.results[0].time;
    s.BestName = t.results[0].driver;
    for (int p = 1; p <= 6; ++p) {
        s.PlaceTimes[p] = t.results[p].time;
        s.PlaceNames[p] = t.results[p].driver;
    }
    s.RecordDate = t.recordDate;
    for (int k = 0; k < track::kCarCount; ++k) s.CarNames[k] = t.results[k].car;
    s.GhostFrameCount = t.ghostFrameCount;
    for (const std::string& line : track::ListingLines(t))
        platform::AppendInfoLine(kInfoListControl, line);

    s.TrackRejected = 0;
    s.TrackAccepted = true;
    s.TrackDamaged = t.damaged;
    if (s.TrackDamaged) {
        s.StatusMessage = track::kDamagedStatus;
        PostStatus();
    }
}

track::Track RecordedTrack() {
    const AnalyserState& s = state;
    track::Track t;
    t.file = bytes::Reader(LoadedBytes());
    if (!s.TrackAccepted) t.refusal = "no track loaded";
    t.damaged = s.TrackDamaged;
    t.worldSize = s.WorldSize;
    t.waterLevel = s.WaterLevel;
    t.angle = s.Angle;
    t.rotation = s.Rotation;
    t.zoom = s.Zoom;
    t.startFinishLine = s.StartFinishLine;
    // The picture has always taken the count from the bytes now loaded.
    t.landmapCount = t.file.I32(track::kLandmapCountOffset);
    t.objectCount = s.ObjectCount;
    t.trackLength = s.TrackLength;
    t.author = s.TrackAuthor;
    t.results[0] = {s.BestTime, s.BestName, s.CarNames[0]};
    for (int p = 1; p <= 6; ++p) t.results[p] = {s.PlaceTimes[p], s.PlaceNames[p], s.CarNames[p]};
    t.recordDate = s.RecordDate;
    t.ghostFrameCount = s.GhostFrameCount;
    t.at = {s.HeightMapData - s.TrackData, s.ObjectsData - s.TrackData, s.TrailerData - s.TrackData,
            s.RecordDateData - s.TrackData, s.GhostData - s.TrackData};
    return t;
}

}  // namespace app
