#include "cli/tracks.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "cli/packed.h"
#include "platform/paths.h"
#include "platform/standard_streams.h"
#include "track/layout.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Name order is byte order of the file names, the same on every machine.
void WalkFolder(const std::string& folder, bool recursive, TrackList& tracks) {
    // The names packed while they are sorted: a folder of many thousand
    // tracks costs little more than its names.
    struct Entry {
        std::uint32_t at, size;
        bool isFolder;  // a folder to walk
    };
    std::string names;
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(platform::FsPath(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = platform::PathText(it->path().filename());
        std::error_code kind;
        // Linked folders are not walked: a link to a parent would never end.
        const bool folderHere = it->symlink_status(kind).type() == fs::file_type::directory;
        if (!(folderHere ? recursive : platform::IsTrackFileName(name))) continue;
        if (names.size() + name.size() > UINT32_MAX) {
            error = std::make_error_code(std::errc::value_too_large);
            break;
        }
        entries.push_back({static_cast<std::uint32_t>(names.size()),
                           static_cast<std::uint32_t>(name.size()), folderHere});
        names += name;
    }
    if (error) {
        tracks.Add({folder, folder, "cannot read the folder: " + error.message()});
        return;
    }
    const auto nameOf = [&names](const Entry& entry) {
        return std::string_view(names).substr(entry.at, entry.size);
    };
    std::sort(entries.begin(), entries.end(),
              [&](const Entry& a, const Entry& b) { return nameOf(a) < nameOf(b); });
    for (const Entry& entry : entries) {
        const std::string path = Joined(folder, std::string(nameOf(entry)));
        if (entry.isFolder) {
            WalkFolder(path, recursive, tracks);
        } else {
            tracks.Add({path, path, ""});
        }
    }
}

// Reads standard input whole; a track longer than the largest file a load
// reads is not kept, as the load itself would not read it.
TrackInput StandardInputTrack() {
    TrackInput input{"-", "-", ""};
    auto bytes = platform::ReadStandardInput(track::kLargestFile);
    if (!bytes) {
        input.error = bytes.reason();
    } else if (bytes->empty()) {
        input.error = "standard input is empty";
    } else {
        input.standardInput =
            std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes.value()));
    }
    return input;
}

}  // namespace

void TrackList::Add(const TrackInput& input) {
    const std::size_t cut = input.given.rfind('/');
    const std::size_t nameAt = cut == std::string::npos ? 0 : cut + 1;
    const std::string_view folder = std::string_view(input.given).substr(0, nameAt);
    if (folders_.empty() || FolderText(folders_.size() - 1) != folder) {
        folderTexts_ += folder;
        folders_.push_back({count_, folderTexts_.size()});
    }
    if (count_ == kManyNames) {
        names_.reserve(kReservedNameBytes);
        blocks_.reserve(kReservedNameBytes / 8 / kBlock);
    }
    std::string_view name = std::string_view(input.given).substr(nameAt);
    const bool trk = name.ends_with(".trk");
    if (trk) name.remove_suffix(4);
    if (count_ % kBlock == 0) {
        blocks_.push_back(names_.size());
        last_.clear();
    }
    const std::size_t shared =
        std::mismatch(last_.begin(), last_.end(), name.begin(), name.end()).first - last_.begin();
    PutCount(names_, shared);
    PutCount(names_, (name.size() - shared) << 1 | (trk ? 1 : 0));
    names_ += name.substr(shared);
    last_ = name;
    if (input.path != input.given || !input.error.empty() || input.standardInput)
        unusual_[count_] = input;
    ++count_;
}

std::string_view TrackList::FolderText(std::size_t k) const {
    const std::size_t begin = k == 0 ? 0 : folders_[k - 1].end;
    return std::string_view(folderTexts_).substr(begin, folders_[k].end - begin);
}

TrackInput TrackList::operator[](std::size_t index) const {
    if (const auto it = unusual_.find(index); it != unusual_.end()) return it->second;
    // The folder: that of the last run starting at or before the track.
    const auto run = std::upper_bound(folders_.begin(), folders_.end(), index,
                                      [](std::size_t k, const Folder& f) { return k < f.first; }) -
                     1;
    std::string given(FolderText(run - folders_.begin()));
    const std::size_t nameAt = given.size();
    bool trk = false;
    std::size_t at = blocks_[index / kBlock];
    for (std::size_t k = index / kBlock * kBlock; k <= index; ++k) {
        given.resize(nameAt + TakeCount(names_, at));
        const std::size_t code = TakeCount(names_, at);
        given.append(names_, at, code >> 1);
        at += code >> 1;
        trk = (code & 1) != 0;
    }
    if (trk) given += ".trk";
    return {given, given, ""};
}

platform::Result<CollectedTracks> CollectTracks(const std::vector<std::string>& arguments,
                                                bool recursive) {
    CollectedTracks collected;
    collected.batch = arguments.size() > 1;
    bool stdinTaken = false;
    for (const std::string& argument : arguments) {
        if (argument == "-") {
            if (stdinTaken) return platform::Fail("standard input (-) can be named only once");
            stdinTaken = true;
            collected.tracks.Add(StandardInputTrack());
            continue;
        }
        std::error_code error;
        if (fs::is_directory(platform::FsPath(argument), error)) {
            collected.batch = true;
            WalkFolder(argument, recursive, collected.tracks);
        } else {
            // Missing and unreadable files fail at their load, in their place.
            collected.tracks.Add({argument, argument, ""});
        }
    }
    return collected;
}

}  // namespace cli
