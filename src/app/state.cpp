#include "app/state.h"

#include <algorithm>
#include <utility>

#include "picture/colours.h"
#include "platform/paths.h"

namespace app {

AnalyserState state;

void InitialiseState() {
    AnalyserState& s = state;
    // The buffer's memory is kept: fresh 2 MB blocks on every re-initialisation
    // made most of the cost of each run in the tests and fuzz targets.
    TrackBytes buffer = std::move(s.TrackBuffer);
    const auto written = std::move(s.TrackBufferWrites);
    s = AnalyserState{};
    s.TrackBuffer = std::move(buffer);

    s.ObjectColourTable = picture::kObjectColours;
    s.TerrainIndexTable = picture::kTerrainIndex;

    s.TrackDirectory = platform::CurrentDirectory();

    s.TrackFileSize = kTrackBufferSize;
    if (s.TrackBuffer.size() == kTrackBufferSize) {
        for (const auto& [start, end] : written)
            std::fill(s.TrackBuffer.begin() + start, s.TrackBuffer.begin() + end, 0);
    } else {
        s.TrackBuffer = TrackBytes(kTrackBufferSize);
    }
    s.TrackData = 0;
    s.PictureData = s.TrackData + kTrackHalfSize;

    s.LineSeparator = "\r\n";
    s.StatusLineCount = kStatusLineCount;
    s.StatusMessage = "> ";
    for (int i = 1; i <= kStatusLineCount; ++i) s.StatusLines[i] = "> ";
}

void NoteBufferWrite(Address at, std::int64_t length) {
    std::vector<std::pair<Address, Address>>& writes = state.TrackBufferWrites;
    const auto size = static_cast<Address>(state.TrackBuffer.size());
    const Address start = std::clamp<Address>(at, 0, size);
    const Address end = std::clamp<Address>(at + std::max<std::int64_t>(length, 0), start, size);
    if (start == end) return;
    // Writes come back to the same few places, so the list stays that short.
    for (auto& [from, to] : writes) {
        if (start <= to && end >= from) {
            from = std::min(from, start);
            to = std::max(to, end);
            return;
        }
    }
    writes.emplace_back(start, end);
}

}  // namespace app
