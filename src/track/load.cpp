#include <algorithm>
#include <span>
#include <string>

#include "app/state.h"
#include "app/status_log.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/windowing.h"
#include "track/reader.h"
#include "track/track.h"

namespace track {
namespace {

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

}  // namespace

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
    platform::ClearInfoList(kInfoListControl);
    // A cancelled dialog leaves no folder; the next one starts where the
    // last track was found, rather than nowhere.
    const std::string start = !s.TrackDirectory.empty()    ? s.TrackDirectory
                              : !s.LastTrackFolder.empty() ? s.LastTrackFolder
                                                           : platform::CurrentDirectory();
    s.TrackPath = platform::OpenFileDialog("Select Track", start, "trk|*.trk", 0);

    const auto cut = LastSeparator(s.TrackPath);
    s.TrackDirectory = cut == std::string::npos ? "" : s.TrackPath.substr(0, cut + 1);

    s.LoadError.clear();
    if (!s.TrackPath.empty()) {
        const auto half = std::span(s.TrackBuffer)
                              .subspan(static_cast<std::size_t>(s.TrackData), app::kTrackHalfSize);
        const platform::ReadResult read = platform::ReadWholeFile(s.TrackPath, half);
        if (read.opened && !read.tooLong) {
            s.TrackFileSize = static_cast<std::int32_t>(read.bytesRead);
        } else {
            s.LoadError = read.error;
        }
        if (read.tooLong) {
            s.StatusMessage = "Caution: File > 1000000 Bytes";
            app::PostStatus();
        }
    }

    const std::string filePart =
        cut == std::string::npos ? s.TrackPath : s.TrackPath.substr(cut + 1);
    platform::AppendInfoLine(kInfoListControl, platform::TextFromPath(filePart) + "   " +
                                                   std::to_string(s.TrackFileSize) + " Bytes");
}

}  // namespace track
