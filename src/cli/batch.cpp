// Workers are processes, forked once the arguments are parsed. The state
// record is one per process by design, and the actions, the drawing surface
// and the encoders all keep process-wide stores; a process per worker gives
// each worker its own copy of everything without touching that code. Each
// worker takes the tracks whose index is its number modulo the worker count
// and sends back, through a pipe, what each track printed and how it ended;
// the parent alone prints, in argument order, and alone hands out output
// names, in argument order too. So the outputs are the same bytes for every
// worker count, and the same as one track at a time.
#include "cli/batch.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string_view>

#include "platform/safe_file.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

std::string stdinFolder;  // the private folder of the standard input's copy

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
    std::error_code error;
    std::vector<std::pair<std::string, bool>> entries;  // name, is a folder to walk
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        // Linked folders are not walked: a link to a parent would never end.
        const bool folderHere = it->symlink_status(kind).type() == fs::file_type::directory;
        if (folderHere ? recursive : IsTrackFile(name)) entries.emplace_back(name, folderHere);
    }
    if (error) {
        tracks.Add({folder, folder, "cannot read the folder: " + error.message()});
        return;
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& [name, isFolder] : entries) {
        const std::string path = Joined(folder, name);
        if (isFolder) {
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
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            input.error = std::strerror(errno);
            return input;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > kMaxStdinTrack) {
            input.error = "longer than " + std::to_string(kMaxStdinTrack) + " bytes";
            return input;
        }
    }
    std::string folder = (fs::temp_directory_path() / "trk-stdin-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        input.error = std::string("cannot keep standard input: ") + std::strerror(errno);
        return input;
    }
    stdinFolder = folder;
    input.path = folder + "/stdin.trk";
    const platform::WriteResult kept = platform::WriteFileSafely(input.path, bytes);
    if (!kept.Written()) input.error = "cannot keep standard input: " + kept.error;
    return input;
}

// ---- messages between the workers and the parent ----

enum Message : std::uint8_t { kClaim = 1, kResult = 2 };

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool ReadAll(int fd, void* into, std::size_t size) {
    auto* bytes = static_cast<char*>(into);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

void PutNumber(std::string& message, std::uint64_t value) {
    message.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutText(std::string& message, const std::string& text) {
    PutNumber(message, text.size());
    message += text;
}

bool GetNumber(int fd, std::uint64_t& value) {
    return ReadAll(fd, &value, sizeof value);
}

bool GetText(int fd, std::string& text) {
    std::uint64_t size = 0;
    if (!GetNumber(fd, size) || size > (std::uint64_t{1} << 32)) return false;
    text.resize(size);
    return size == 0 || ReadAll(fd, text.data(), size);
}

// An archive's lists are given room for a million tracks at once rather
// than doubled as they grow: room not yet written takes no memory, while
// each doubling left the block before it behind in the heap, which made a
// large run's peak memory grow by twice its names.
constexpr std::size_t kManyNames = 1024;
constexpr std::size_t kReservedNameBytes = std::size_t{16} << 20;

// The names claimed so far, exact and packed: one block of names and an
// open-addressing table of their numbers.
class LocalClaims : public NameClaims {
  public:
    std::string Claim(const std::string& stem, const std::string& extension) override {
        std::string name = stem + extension;
        for (int n = 2; !Insert(name); ++n) name = stem + "-" + std::to_string(n) + extension;
        return name;
    }

  private:
    std::string_view Name(std::uint32_t k) const {
        const std::size_t begin = k == 0 ? 0 : ends_[k - 1];
        return std::string_view(names_).substr(begin, ends_[k] - begin);
    }

    // The free slot for `name`, or the table's size when it is taken.
    std::size_t Find(std::string_view name) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t at = std::hash<std::string_view>{}(name)&mask;; at = (at + 1) & mask) {
            if (table_[at] == 0) return at;
            if (Name(table_[at] - 1) == name) return table_.size();
        }
    }

    bool Insert(const std::string& name) {
        if (4 * (ends_.size() + 1) > 3 * table_.size()) Grow();
        if (ends_.size() == kManyNames) {
            names_.reserve(kReservedNameBytes);
            ends_.reserve(kReservedNameBytes / 8);
        }
        const std::size_t at = Find(name);
        if (at == table_.size()) return false;
        names_ += name;
        ends_.push_back(static_cast<std::uint32_t>(names_.size()));
        table_[at] = static_cast<std::uint32_t>(ends_.size());
        return true;
    }

    void Grow() {
        table_.assign(std::max<std::size_t>(64, 2 * table_.size()), 0);
        for (std::uint32_t k = 0; k < ends_.size(); ++k) table_[Find(Name(k))] = k + 1;
    }

    std::string names_;
    std::vector<std::uint32_t> ends_;
    std::vector<std::uint32_t> table_;  // 0: free, else the name's number + 1
};

// A worker's claims go to the parent, which answers in argument order.
class WorkerClaims : public NameClaims {
  public:
    WorkerClaims(int toParent, int fromParent) : toParent_(toParent), fromParent_(fromParent) {}
    void Start(std::size_t index) { index_ = index; }
    std::string Claim(const std::string& stem, const std::string& extension) override {
        std::string message(1, static_cast<char>(kClaim));
        PutNumber(message, index_);
        PutText(message, stem);
        PutText(message, extension);
        std::string name;
        if (!WriteAll(toParent_, message) || !GetText(fromParent_, name)) std::_Exit(3);
        return name;
    }

  private:
    int toParent_, fromParent_;
    std::size_t index_ = 0;
};

TrackResult RunOne(const TrackInput& input, NameClaims& claims, const TrackJob& job) {
    if (!input.error.empty())
        return {Outcome::kFailed, "", "trk: " + input.given + ": " + input.error + "\n"};
    return job(input, claims);
}

[[noreturn]] void WorkerMain(const TrackList& tracks, std::size_t first, std::size_t step,
                             int toParent, int fromParent, const TrackJob& job) {
    WorkerClaims claims(toParent, fromParent);
    for (std::size_t i = first; i < tracks.size(); i += step) {
        claims.Start(i);
        const TrackResult result = RunOne(tracks[i], claims, job);
        std::string message(1, static_cast<char>(kResult));
        PutNumber(message, i);
        PutNumber(message, static_cast<std::uint64_t>(result.outcome));
        PutText(message, result.out);
        PutText(message, result.err);
        if (!WriteAll(toParent, message)) std::_Exit(3);
    }
    // No destructors or exit handlers: they belong to the parent.
    std::_Exit(0);
}

// ---- the parent: printing in order, progress and summary ----

class Printer {
  public:
    Printer(std::size_t total, const BatchSettings& settings)
        : total_(total),
          settings_(settings),
          progress_(settings.batch && total > 1 && ::isatty(STDERR_FILENO)),
          outIsTerminal_(::isatty(STDOUT_FILENO)),
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
                if (line.rfind("trk: ", 0) != 0) line = "trk: " + input.given + ": " + line;
                messages += line + '\n';
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
            line += (i == 0 ? ": " : ", ") + failedNames_[i];
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

struct Worker {
    pid_t pid = -1;
    int fromWorker = -1;  // results and claims
    int toWorker = -1;    // granted names
    bool open = false;
};

int RunInWorkers(const TrackList& tracks, std::size_t jobs, Printer& printer, const TrackJob& job) {
    std::cout.flush();
    std::cerr.flush();
    std::vector<Worker> workers(jobs);
    for (std::size_t w = 0; w < jobs; ++w) {
        int up[2], down[2];
        if (::pipe(up) != 0 || ::pipe(down) != 0) {
            std::cerr << "trk: cannot start workers: " << std::strerror(errno) << '\n';
            std::exit(1);
        }
        const pid_t pid = ::fork();
        if (pid < 0) {
            std::cerr << "trk: cannot start workers: " << std::strerror(errno) << '\n';
            std::exit(1);
        }
        if (pid == 0) {
            ::close(up[0]);
            ::close(down[1]);
            for (std::size_t v = 0; v < w; ++v) {
                ::close(workers[v].fromWorker);
                ::close(workers[v].toWorker);
            }
            WorkerMain(tracks, w, jobs, up[1], down[0], job);
        }
        ::close(up[1]);
        ::close(down[0]);
        workers[w] = {pid, up[0], down[1], true};
    }

    const std::size_t total = tracks.size();
    LocalClaims names;
    std::vector<char> settled(total, 0);
    std::map<std::size_t, std::pair<std::string, std::string>> claims;  // index: stem, extension
    std::map<std::size_t, TrackResult> results;
    std::size_t nextSettled = 0, nextPrinted = 0;

    const auto advance = [&] {
        while (nextSettled < total) {
            const auto claim = claims.find(nextSettled);
            if (claim != claims.end()) {
                std::string answer;
                PutText(answer, names.Claim(claim->second.first, claim->second.second));
                WriteAll(workers[nextSettled % jobs].toWorker, answer);
                claims.erase(claim);
                settled[nextSettled] = 1;
            }
            if (!settled[nextSettled]) break;
            ++nextSettled;
        }
        for (auto it = results.find(nextPrinted); it != results.end();
             it = results.find(nextPrinted)) {
            printer.Print(tracks[nextPrinted], it->second);
            results.erase(it);
            ++nextPrinted;
        }
    };

    // A worker that stops early (a crash on some hostile track) fails the
    // tracks it had left; the others go on.
    const auto lose = [&](std::size_t w) {
        for (std::size_t i = w; i < total; i += jobs) {
            if (i < nextPrinted || results.count(i) != 0) continue;
            if (!settled[i] || claims.count(i) != 0) {
                claims.erase(i);
                settled[i] = 1;
            }
            results[i] = {Outcome::kFailed, "",
                          "trk: " + tracks[i].given + ": the worker drawing it stopped\n"};
        }
    };

    std::size_t open = jobs;
    while (open > 0) {
        std::vector<pollfd> fds;
        std::vector<std::size_t> owners;
        for (std::size_t w = 0; w < jobs; ++w) {
            if (!workers[w].open) continue;
            fds.push_back({workers[w].fromWorker, POLLIN, 0});
            owners.push_back(w);
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].revents == 0) continue;
            const std::size_t w = owners[k];
            const int fd = workers[w].fromWorker;
            std::uint8_t type = 0;
            std::uint64_t index = 0;
            bool ok =
                ReadAll(fd, &type, 1) && GetNumber(fd, index) && index < total && index % jobs == w;
            if (ok && type == kClaim) {
                std::string stem, extension;
                ok = GetText(fd, stem) && GetText(fd, extension);
                if (ok) claims[index] = {stem, extension};
            } else if (ok && type == kResult) {
                std::uint64_t outcome = 0;
                TrackResult result;
                ok = GetNumber(fd, outcome) && outcome <= 3 && GetText(fd, result.out) &&
                     GetText(fd, result.err);
                if (ok) {
                    result.outcome = static_cast<Outcome>(outcome);
                    results[index] = std::move(result);
                    settled[index] = 1;
                }
            } else {
                ok = false;
            }
            if (!ok) {
                lose(w);
                ::close(workers[w].fromWorker);
                ::close(workers[w].toWorker);
                workers[w].open = false;
                --open;
            }
            advance();
        }
    }
    for (Worker& worker : workers) {
        int status = 0;
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return printer.Finish();
}

}  // namespace

void TrackList::Add(const TrackInput& input) {
    const std::size_t cut = input.given.rfind('/');
    const std::size_t nameAt = cut == std::string::npos ? 0 : cut + 1;
    const std::string_view folder = std::string_view(input.given).substr(0, nameAt);
    if (folders_.empty() || folders_.back() != folder) folders_.emplace_back(folder);
    if (entries_.size() == kManyNames) {
        names_.reserve(kReservedNameBytes);
        entries_.reserve(kReservedNameBytes / 16);
    }
    names_.append(input.given, nameAt);
    entries_.push_back({static_cast<std::uint32_t>(folders_.size() - 1),
                        static_cast<std::uint32_t>(names_.size())});
    if (input.path != input.given || !input.error.empty()) unusual_[entries_.size() - 1] = input;
}

TrackInput TrackList::operator[](std::size_t index) const {
    if (const auto it = unusual_.find(index); it != unusual_.end()) return it->second;
    const std::size_t begin = index == 0 ? 0 : entries_[index - 1].end;
    std::string given =
        folders_[entries_[index].folder] + names_.substr(begin, entries_[index].end - begin);
    return {given, given, ""};
}

CollectedTracks CollectTracks(const std::vector<std::string>& arguments, bool recursive) {
    CollectedTracks collected;
    collected.batch = arguments.size() > 1;
    bool stdinTaken = false;
    for (const std::string& argument : arguments) {
        if (argument == "-") {
            if (stdinTaken) {
                collected.error = "standard input (-) can be named only once";
                return collected;
            }
            stdinTaken = true;
            collected.tracks.Add(CopyStandardInput());
            continue;
        }
        std::error_code error;
        if (fs::is_directory(argument, error)) {
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
    fs::remove_all(stdinFolder, error);
    stdinFolder.clear();
}

int DefaultJobs() {
    const long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
    return cores > 0 ? static_cast<int>(std::min(cores, 64L)) : 1;
}

int RunBatch(const TrackList& tracks, const BatchSettings& settings, const TrackJob& job) {
    Printer printer(tracks.size(), settings);
    const std::size_t jobs = std::min<std::size_t>(
        tracks.size(), static_cast<std::size_t>(settings.jobs > 0 ? settings.jobs : DefaultJobs()));
    if (jobs > 1) return RunInWorkers(tracks, jobs, printer, job);
    LocalClaims claims;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const TrackInput input = tracks[i];
        printer.Print(input, RunOne(input, claims, job));
    }
    return printer.Finish();
}

}  // namespace cli
