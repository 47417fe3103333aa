#include <algorithm>
#include <span>
#include <string>

#include "app/state.h"
#include "app/status_log.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/windowing.h"
#include "track/reader.h"
#include "track/track.h"

namespace track {
Reader LoadedTrack() {
    const app::AnalyserState& s = app::state;
    if (s.TrackBuffer.empty()) return {};
    const std::int64_t size = std::clamp<std::int64_t>(s.TrackFileSize, 0, app::kTrackHalfSize);
    return Reader(
        std::span(s.TrackBuffer)
            .subspan(static_cast<std::size_t>(s.TrackData), static_cast<std::size_t>(size)));
}

void LoadTrack() {
    app::AnalyserState& s = app::state;
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
        const auto half = std::span(s.TrackBuffer)
                              .subspan(static_cast<std::size_t>(s.TrackData), app::kTrackHalfSize);
        const platform::Result<platform::FileRead> read = platform::ReadWholeFile(chosen, half);
        if (!read) {
            // The previous track stays loaded, listed and drawn; only the log
            // says what happened. A read that failed half-way has overwritten
            // part of its bytes, so its positions no longer hold; how much of
            // the half it reached is not known.
            if (!read.refused()) {
                app::NoteBufferWrite(s.TrackData, static_cast<std::int64_t>(half.size()));
                s.TrackAccepted = false;
            }
            s.LoadError = read.reason();
            // A path that ends in a separator names its last folder instead.
            std::string named = filePart;
            if (named.empty()) {
                const auto last = chosen.find_last_not_of(platform::kPathSeparators);
                named = platform::FilePart(chosen.substr(0, last + 1)) + chosen.back();
            }
            s.StatusMessage = "Caution: " + platform::TextFromPath(named) + ": " +
                              platform::TextFromPath(read.reason());
            app::PostStatus();
            return;
        }
        app::NoteBufferWrite(s.TrackData, read->bytesRead);
        s.TrackFileSize = static_cast<std::int32_t>(read->bytesRead);
        s.TrackIdentity = read->identity;
    }
    // A cancelled dialog lists the unchanged buffer again under an empty name.
    s.TrackPath = chosen;
    platform::ClearInfoList(kInfoListControl);
    platform::AppendInfoLine(kInfoListControl, platform::TextFromPath(filePart) + "   " +
                                                   std::to_string(s.TrackFileSize) + " Bytes");
}

}  // namespace track
