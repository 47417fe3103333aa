#include "cli/load.h"

#include <algorithm>

#include "picture/template.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "track/layout.h"

namespace cli {

// Memory that is not yet written is not yet the process's: a room is made
// without touching it, and a file or picture brings in only what it fills.
std::span<std::uint8_t> Workspace::FileRoom() {
    if (!file_) file_ = std::make_unique_for_overwrite<std::uint8_t[]>(track::kLargestFile);
    return {file_.get(), track::kLargestFile};
}

std::span<std::uint8_t> Workspace::ImageRoom() {
    if (!image_) image_ = std::make_unique_for_overwrite<std::uint8_t[]>(picture::kImageSize);
    return {image_.get(), picture::kImageSize};
}

std::optional<LoadedTrack> LoadTrack(const TrackInput& input, Workspace& space, Report& report) {
    const std::span<std::uint8_t> room = space.FileRoom();
    LoadedTrack loaded;
    if (input.standardInput) {
        // Standard input is read whole before the run, within the same limit.
        const std::vector<std::uint8_t>& bytes = *input.standardInput;
        std::copy(bytes.begin(), bytes.end(), room.begin());
        loaded.size = static_cast<std::int64_t>(bytes.size());
        loaded.fileName = "stdin.trk";
    } else {
        const platform::Result<platform::FileRead> read = platform::ReadWholeFile(input.path, room);
        if (!read) {
            report.Status(
                track::ReadFailureStatus(platform::TextFromPath(platform::MessageName(input.path)),
                                         platform::TextFromPath(read.reason())));
            return std::nullopt;
        }
        loaded.size = read->bytesRead;
        loaded.identity = read->identity;
        loaded.fileName = platform::TextFromPath(platform::FilePart(input.path));
    }
    loaded.track = track::Parse(room.first(static_cast<std::size_t>(loaded.size)));
    if (loaded.track.Refused()) {
        report.Status(track::kRefusedStatus);
    } else if (loaded.track.damaged) {
        report.Status(track::kDamagedStatus);
    }
    return loaded;
}

std::string ListingText(const LoadedTrack& loaded) {
    // Line by line, so that a line break inside a track's text shows as '?'
    // and cannot forge a line of its own.
    std::string text =
        platform::TerminalTextFromCp1252(track::LoadLine(loaded.fileName, loaded.size)) + '\n';
    for (const std::string& line : track::ListingLines(loaded.track))
        text += platform::TerminalTextFromCp1252(line) + '\n';
    return text;
}

}  // namespace cli
