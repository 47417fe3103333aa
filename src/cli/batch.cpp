// The tracks of a run are the jobs of platform's workers (processes, where
// there are any). The state record is one per process by design, and the
// actions, the drawing surface and the encoders all keep process-wide
// stores; a process per worker gives each its own copy of everything
// without touching that code. Each track's result comes back as bytes; the
// parent alone prints, in argument order, and alone hands out output names,
// in argument order too. So the outputs are the same bytes for every worker
// count, and the same as one track at a time.
#include "cli/batch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>

#include "cli/session.h"
#include "platform/byte_reader.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/standard_streams.h"
#include "platform/temporaries.h"
#include "platform/workers.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

std::string stdinFolder;  // the private folder of the standard input's copy
std::string stdinFile;    // the copy in it

bool IsTrackFile(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".trk";
}

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
        if (!(folderHere ? recursive : IsTrackFile(name))) continue;
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

// Reads standard input whole; a track longer than the load's limit is not
// kept, as the load itself would not read it.
TrackInput CopyStandardInput() {
    TrackInput input{"-", "", ""};
    const auto bytes = platform::ReadStandardInput(kMaxStdinTrack);
    if (!bytes) {
        input.error = bytes.reason();
        return input;
    }
    if (bytes->empty()) {
        input.error = "standard input is empty";
        return input;
    }
    const auto folder = platform::MakePrivateTemporaryFolder("trk-stdin-");
    if (!folder) {
        input.error = "cannot keep standard input: " + folder.reason();
        return input;
    }
    stdinFolder = *folder;
    input.path = stdinFile = *folder + "/stdin.trk";
    platform::NoteTemporary(stdinFile);
    const platform::Result<> kept = platform::WriteFileSafely(input.path, *bytes);
    if (!kept) input.error = "cannot keep standard input: " + kept.reason();
    return input;
}

// ---- a track's claim and result, as bytes between a worker and the parent ----

// A name claim: the stem and the extension.
std::string PackClaim(const std::string& stem, const std::string& extension) {
    std::string bytes;
    platform::PutText(bytes, stem);
    platform::PutText(bytes, extension);
    return bytes;
}

// An archive's lists are given room for a million tracks at once rather
// than doubled as they grow: room not yet written takes no memory, while
// each doubling left the block before it behind in the heap, which made a
// large run's peak memory grow by twice its names.
constexpr std::size_t kManyNames = 1024;
constexpr std::size_t kReservedNameBytes = std::size_t{16} << 20;

// Counts in the packed lists take one byte below 128: seven bits a byte,
// the high bit saying that more follow.
void PutCount(std::string& bytes, std::size_t count) {
    for (; count >= 0x80; count >>= 7) bytes += static_cast<char>((count & 0x7f) | 0x80);
    bytes += static_cast<char>(count);
}

std::size_t TakeCount(const std::string& bytes, std::size_t& at) {
    std::size_t count = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        count |= std::size_t{byte & 0x7fu} << shift;
        if (byte < 0x80) return count;
    }
}

// The names claimed so far, exact and packed: one block of records and an
// open-addressing table of where they start. A record is a name in full or,
// for a numbered name, the record it was numbered from (its stem and
// extension) and the number: the copies of one archive in several folders
// cost a few bytes each.
class LocalClaims : public NameClaims {
  public:
    std::string Claim(const std::string& stem, const std::string& extension) override {
        if (4 * (count_ + 1) > 3 * table_.size()) Grow();
        if (count_ == kManyNames) records_.reserve(kReservedNameBytes);
        std::string name = stem + extension;
        std::size_t slot = Find(name);
        if (table_[slot] == 0) {
            Keep(slot);
            PutCount(records_, name.size() << 1);
            records_ += name;
            return name;
        }
        const std::size_t base = table_[slot] - 1;
        for (std::size_t n = 2;; ++n) {
            name = stem;
            name += '-';
            name += std::to_string(n);
            name += extension;
            slot = Find(name);
            if (table_[slot] != 0) continue;
            const std::size_t at = Keep(slot);
            PutCount(records_, n << 1 | 1);
            PutCount(records_, at - base);
            PutCount(records_, extension.size());
            return name;
        }
    }

  private:
    // Starts a record in `slot`; returns where.
    std::size_t Keep(std::size_t slot) {
        table_[slot] = static_cast<std::uint32_t>(records_.size() + 1);
        ++count_;
        return records_.size();
    }

    // The name of the record at `at`.
    std::string Name(std::size_t at) const {
        // A numbered name's record may itself be numbered ("a-2" numbered
        // "a-2-2"): the numbers go in from the innermost, the full name.
        std::vector<std::pair<std::size_t, std::size_t>> numbers;  // number, extension size
        for (;;) {
            const std::size_t record = at;
            const std::size_t code = TakeCount(records_, at);
            if ((code & 1) == 0) {
                std::string name = records_.substr(at, code >> 1);
                for (std::size_t k = numbers.size(); k-- > 0;)
                    name.insert(name.size() - numbers[k].second,
                                "-" + std::to_string(numbers[k].first));
                return name;
            }
            const std::size_t back = TakeCount(records_, at);
            numbers.emplace_back(code >> 1, TakeCount(records_, at));
            at = record - back;
        }
    }

    // Where the record at `at` ends.
    std::size_t Past(std::size_t at) const {
        const std::size_t code = TakeCount(records_, at);
        if ((code & 1) == 0) return at + (code >> 1);
        TakeCount(records_, at);
        TakeCount(records_, at);
        return at;
    }

    // The slot of `name`, or the free slot where it would go.
    std::size_t Find(const std::string& name) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t slot = std::hash<std::string>{}(name)&mask;; slot = (slot + 1) & mask) {
            if (table_[slot] == 0) return slot;
            if (Name(table_[slot] - 1) == name) return slot;
        }
    }

    void Grow() {
        table_.assign(std::max<std::size_t>(64, 2 * table_.size()), 0);
        for (std::size_t at = 0; at < records_.size(); at = Past(at))
            table_[Find(Name(at))] = static_cast<std::uint32_t>(at + 1);
    }

    std::string records_;
    std::size_t count_ = 0;
    std::vector<std::uint32_t> table_;  // 0: free, else where the record starts + 1
};

// A worker's claims go to the parent, which grants them in argument order.
class AskedClaims : public NameClaims {
  public:
    explicit AskedClaims(platform::JobQuestions& questions) : questions_(questions) {}
    std::string Claim(const std::string& stem, const std::string& extension) override {
        return questions_.Ask(PackClaim(stem, extension));
    }

  private:
    platform::JobQuestions& questions_;
};

// Renames a job's unnamed file to the name its turn gets; a failure fails
// the track, and the file goes.
void GiveName(TrackResult& result, NameClaims& names) {
    const UnnamedFile& file = result.file;
    const std::string path = platform::PathText(
        platform::FsPath(file.folder) / platform::FsPath(names.Claim(file.stem, file.extension)));
    const platform::Result<> moved = platform::MoveIntoPlace(file.written, path, file.keep);
    if (moved) return;
    result.outcome = Outcome::kFailed;
    result.err += ErrorLine(path, moved.reason());
}

TrackResult RunOne(const TrackInput& input, NameClaims& claims, const TrackJob& job) {
    if (!input.error.empty())
        return {Outcome::kFailed, "", ErrorLine(input.given, input.error), {}};
    return job(input, claims);
}

// ---- the parent: printing in order, progress and summary ----

class Printer {
  public:
    Printer(std::size_t total, const BatchSettings& settings)
        : total_(total),
          settings_(settings),
          progress_(settings.batch && total > 1 &&
                    platform::IsTerminal(platform::StandardStream::kError)),
          outIsTerminal_(platform::IsTerminal(platform::StandardStream::kOutput)),
          start_(Clock::now()) {}

    void Print(const TrackInput& input, const TrackResult& result) {
        std::string messages;
        if (!settings_.batch) {
            messages = result.err;
        } else if (result.outcome != Outcome::kWritten) {
            // A batch keeps quiet about tracks that went well, and of a
            // damaged one tells only its warnings; the others tell all,
            // saying which file their messages are about.
            std::istringstream lines(result.err);
            for (std::string line; std::getline(lines, line);) {
                if (result.outcome == Outcome::kDamaged && line.rfind("Caution: ", 0) != 0)
                    continue;
                messages += line.starts_with("trk: ") ? line + '\n' : ErrorLine(input.given, line);
            }
        }
        // The progress line goes only for lines that would land on it.
        if (!messages.empty() || (!result.out.empty() && outIsTerminal_)) ClearProgress();
        if (!result.out.empty()) {
            std::cout.write(result.out.data(), static_cast<std::streamsize>(result.out.size()));
        }
        if (!messages.empty()) {
            std::cout.flush();
            std::cerr << messages;
        }
        Count(input, result.outcome);
        ++done_;
        ShowProgress();
    }

    int Finish() {
        ClearProgress();
        std::cout.flush();
        if (settings_.batch) std::cerr << Summary() << '\n';
        if (failed_ > 0) return 1;
        return refused_ > 0 ? 2 : 0;
    }

  private:
    using Clock = std::chrono::steady_clock;

    void Count(const TrackInput& input, Outcome outcome) {
        switch (outcome) {
            case Outcome::kWritten:
                ++written_;
                break;
            case Outcome::kDamaged:
                ++written_;
                ++damaged_;
                break;
            case Outcome::kRefused:
                ++refused_;
                break;
            case Outcome::kFailed:
                ++failed_;
                if (failedNames_.size() < 3) failedNames_.push_back(input.given);
                break;
        }
    }

    std::string Summary() const {
        std::string line = "trk: " + std::to_string(total_) +
                           (total_ == 1 ? " track: " : " tracks: ") + std::to_string(written_) +
                           " " + settings_.verb;
        if (damaged_ > 0) line += " (" + std::to_string(damaged_) + " damaged)";
        line +=
            ", " + std::to_string(refused_) + " refused, " + std::to_string(failed_) + " failed";
        for (std::size_t i = 0; i < failedNames_.size(); ++i)
            line += (i == 0 ? ": " : ", ") + platform::TerminalText(failedNames_[i]);
        if (failed_ > failedNames_.size())
            line += " and " + std::to_string(failed_ - failedNames_.size()) + " more";
        return line;
    }

    void ShowProgress() {
        if (!progress_ || done_ == total_) return;
        const Clock::time_point now = Clock::now();
        if (now - lastShown_ < std::chrono::milliseconds(100)) return;
        lastShown_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double rate = seconds > 0 ? static_cast<double>(done_) / seconds : 0.0;
        const long left = rate > 0 ? std::lround(static_cast<double>(total_ - done_) / rate) : 0;
        char line[128];
        ClearProgress();
        std::snprintf(line, sizeof line, "\r%zu/%zu  %.1f tracks/s  %ld:%02ld left", done_, total_,
                      rate, left / 60, left % 60);
        std::cerr << line << std::flush;
        shown_ = true;
    }

    void ClearProgress() {
        if (!shown_) return;
        std::cerr << "\r\x1b[K" << std::flush;
        shown_ = false;
    }

    std::size_t total_;
    const BatchSettings& settings_;
    bool progress_;
    bool outIsTerminal_;
    Clock::time_point start_, lastShown_;
    bool shown_ = false;
    std::size_t done_ = 0, written_ = 0, damaged_ = 0, refused_ = 0, failed_ = 0;
    std::vector<std::string> failedNames_;
};

}  // namespace

std::string PackResult(const TrackResult& result) {
    std::string bytes(1, static_cast<char>(result.outcome));
    platform::PutText(bytes, result.out);
    platform::PutText(bytes, result.err);
    const UnnamedFile& file = result.file;
    if (file.written.empty()) return bytes;
    for (const std::string* text : {&file.written, &file.folder, &file.stem, &file.extension})
        platform::PutText(bytes, *text);
    platform::PutNumber(bytes, file.keep.known ? 1 : 0);
    platform::PutNumber(bytes, file.keep.device);
    platform::PutNumber(bytes, file.keep.inode);
    return bytes;
}

std::optional<TrackResult> UnpackResult(std::string_view bytes) {
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) > 3) return std::nullopt;
    TrackResult result;
    result.outcome = static_cast<Outcome>(bytes[0]);
    platform::ByteCursor fields(bytes.substr(1));
    if (!fields.Text(result.out) || !fields.Text(result.err)) return std::nullopt;
    if (fields.AtEnd()) return result;
    UnnamedFile& file = result.file;
    std::uint64_t known = 0;
    for (std::string* text : {&file.written, &file.folder, &file.stem, &file.extension})
        if (!fields.Text(*text)) return std::nullopt;
    if (!fields.Number(known) || known > 1 || !fields.Number(file.keep.device) ||
        !fields.Number(file.keep.inode) || !fields.AtEnd() || file.written.empty())
        return std::nullopt;
    file.keep.known = known == 1;
    return result;
}

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
    if (input.path != input.given || !input.error.empty()) unusual_[count_] = input;
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
            collected.tracks.Add(CopyStandardInput());
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

void RemoveStdinCopy() {
    if (stdinFolder.empty()) return;
    std::error_code error;
    fs::remove_all(platform::FsPath(stdinFolder), error);
    platform::ForgetTemporary(stdinFile);
    platform::ForgetTemporary(stdinFolder);
    stdinFolder.clear();
}

int DefaultJobs() {
    return static_cast<int>(std::min<std::size_t>(platform::CoreCount(), 64));
}

int RunBatch(const TrackList& tracks, const BatchSettings& settings, const TrackJob& job) {
    Printer printer(tracks.size(), settings);
    LocalClaims names;
    platform::WorkerJobs jobs;
    jobs.count = tracks.size();
    jobs.run = [&](std::size_t index, platform::JobQuestions& questions) {
        AskedClaims claims(questions);
        return PackResult(RunOne(tracks[index], claims, job));
    };
    jobs.answer = [&](std::size_t, const std::string& question) {
        std::string stem, extension;
        platform::ByteCursor claim(question);
        if (!claim.Text(stem) || !claim.Text(extension) || !claim.AtEnd()) return std::string();
        return names.Claim(stem, extension);
    };
    jobs.done = [&](std::size_t index, const std::optional<std::string>& bytes) {
        const TrackInput input = tracks[index];
        std::optional<TrackResult> result;
        if (bytes) result = UnpackResult(*bytes);
        // A worker that stopped (a crash on some hostile track) fails the
        // track it was drawing; the others go on.
        if (!result)
            result = TrackResult{
                Outcome::kFailed, "", ErrorLine(input.given, "the worker drawing it stopped"), {}};
        if (!result->file.written.empty()) GiveName(*result, names);
        printer.Print(input, *result);
    };
    const int workers = settings.jobs > 0 ? settings.jobs : DefaultJobs();
    platform::RunWorkers(jobs, static_cast<std::size_t>(workers));
    return printer.Finish();
}

}  // namespace cli
