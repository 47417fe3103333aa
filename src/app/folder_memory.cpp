#include "app/folder_memory.h"

#include <filesystem>
#include <span>
#include <vector>

#include "app/state.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/user_folders.h"
#include "platform/windowing.h"

namespace app {
namespace {

constexpr const char* kProgram = "track-analyse";
constexpr const char* kMemoryName = "last-track-folder";
constexpr std::size_t kLongestPath = 4096;

}  // namespace

void RecallTrackFolder() {
    AnalyserState& s = state;
    const std::string folder = platform::UserStateFolder(kProgram);
    if (folder.empty()) return;
    s.FolderMemoryFile = folder + kMemoryName;

    std::vector<std::uint8_t> bytes(kLongestPath);
    const platform::Result<platform::FileRead> read =
        platform::ReadWholeFile(s.FolderMemoryFile, bytes);
    if (!read) return;
    std::string remembered(bytes.begin(), bytes.begin() + read->bytesRead);
    while (!remembered.empty() && (remembered.back() == '\n' || remembered.back() == '\r'))
        remembered.pop_back();
    std::error_code error;
    if (remembered.empty() || !platform::FsPath(remembered).is_absolute() ||
        !std::filesystem::is_directory(platform::FsPath(remembered), error))
        return;
    s.LastTrackFolder = platform::WithSeparator(remembered);
    s.TrackDirectory = s.LastTrackFolder;
}

void RememberTrackFolder() {
    AnalyserState& s = state;
    if (s.TrackPath.empty() || !s.LoadError.empty() || s.TrackDirectory.empty()) return;
    if (s.TrackDirectory == s.LastTrackFolder) return;
    s.LastTrackFolder = s.TrackDirectory;
    if (s.FolderMemoryFile.empty()) return;
    // Losing this memory costs the user one walk to a folder; it is not
    // worth a message in the status log.
    if (!platform::MakeFolders(platform::DialogInitialDirectory(s.FolderMemoryFile))) return;
    const std::string line = s.LastTrackFolder + "\n";
    (void)platform::WriteFileSafely(
        s.FolderMemoryFile,
        std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()),
        s.TrackIdentity);
}

}  // namespace app
