// The run's temporaries are kept in fixed slots rather than a container, so
// that a signal handler can walk them with nothing but async-signal-safe
// calls, whichever thread it interrupts: a slot is taken and given up with
// one atomic step, and read only while it is published. The workers are
// threads that go on while the handler runs on one of them: it lets every
// step in progress end and lets no new one begin before it looks.
#include "platform/temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace platform {
namespace {

enum State : int { kFree = 0, kFilling = 1, kKept = 2 };
enum Kind : int { kFile, kTidied };

constexpr std::size_t kSlots = 64;
constexpr std::size_t kLongestPath = 4096;
std::atomic<int> states[kSlots];
int kinds[kSlots];
char paths[kSlots][kLongestPath];

// Threads inside a TemporaryStep, and whether a stop has begun.
std::atomic<int> inside{0};
std::atomic<bool> stopping{false};
thread_local int stepDepth = 0;

// ".trk-<stamp>-", what names of this run's temporaries start with.
char ownPrefix[64];

void Note(const std::string& path, Kind kind) {
    if (path.empty() || path.size() >= kLongestPath) return;
    const TemporaryStep step;
    for (std::size_t k = 0; k < kSlots; ++k) {
        int free = kFree;
        if (!states[k].compare_exchange_strong(free, kFilling)) continue;
        std::memcpy(paths[k], path.c_str(), path.size() + 1);
        kinds[k] = kind;
        states[k].store(kKept);
        return;
    }
}

// The start time of process `pid` in clock ticks since boot, from /proc.
std::optional<unsigned long long> StartTime(long pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(file, stat)) return std::nullopt;
    // The name in parentheses may hold blanks; the fields after it do not.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int k = 3; k <= 22 && fields >> field; ++k) {
        if (k == 22) return std::strtoull(field.c_str(), nullptr, 10);
    }
    return std::nullopt;
}

// Parses a temporary file's name: ".trk-<pid>-<start>-<16 hex>.tmp", or
// ".trk-<pid>-<16 hex>.tmp" as older versions named them (`start` empty).
bool IsTemporaryName(const std::string& name, long& pid, std::string& start) {
    constexpr std::string_view kHead = ".trk-", kTail = ".tmp";
    if (!name.starts_with(kHead) || !name.ends_with(kTail)) return false;
    const std::string middle = name.substr(kHead.size(), name.size() - 9);
    std::vector<std::string> parts;
    std::istringstream split(middle);
    for (std::string part; std::getline(split, part, '-');) parts.push_back(part);
    if (parts.size() < 2 || parts.size() > 3 || parts.back().size() != 16 ||
        parts.back().find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
        if (parts[k].empty() || parts[k].size() > (k == 0 ? 9 : 20) ||
            parts[k].find_first_not_of("0123456789") != std::string::npos)
            return false;
    }
    pid = std::strtol(parts[0].c_str(), nullptr, 10);
    start = parts.size() == 3 ? parts[1] : "";
    return true;
}

// Whether the run of a temporary file is alive: its process is there and,
// when the name tells it, started when it did.
bool RunAlive(long pid, const std::string& start) {
    if (pid <= 0) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
    if (start.empty()) return true;
    const std::optional<unsigned long long> now = StartTime(pid);
    return !now || std::to_string(*now) == start;
}

// Removes from the open folder `dir` the files whose names start with
// `prefix`, with async-signal-safe calls only.
void RemoveStartingWith(int dir, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    alignas(8) char block[8192];
    for (;;) {
        const ssize_t got = ::getdents64(dir, block, sizeof block);
        if (got <= 0) return;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(block + at);
            at += entry->d_reclen;
            if (std::strncmp(entry->d_name, prefix, length) == 0) ::unlinkat(dir, entry->d_name, 0);
        }
    }
}

void HandleStop(int signal) {
    // No thread creates or forgets a temporary once this is done waiting.
    stopping.store(true);
    while (inside.load() != 0) {
    }
    // Pictures waiting for their names first: only the folders know them all.
    for (const Kind kind : {kTidied, kFile}) {
        for (std::size_t k = 0; k < kSlots; ++k) {
            if (states[k].load() != kKept || kinds[k] != kind) continue;
            if (kind == kFile) {
                ::unlink(paths[k]);
            } else if (const int dir = ::open(paths[k], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                       dir >= 0) {
                RemoveStartingWith(dir, ownPrefix);
                ::close(dir);
            }
        }
    }
    // Ended by the signal itself, so that a shell loop stops at Ctrl-C
    // rather than going on to its next command.
    ::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::kill(::getpid(), signal);
    ::_exit(128 + signal);  // not reached
}

constexpr int kStops[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

const std::string& RunStamp() {
    static const std::string stamp = [] {
        const long pid = ::getpid();
        std::string text = std::to_string(pid) + "-" + std::to_string(StartTime(pid).value_or(0));
        std::snprintf(ownPrefix, sizeof ownPrefix, ".trk-%s-", text.c_str());
        return text;
    }();
    return stamp;
}

void NoteTemporary(const std::string& path) {
    Note(path, kFile);
}

void ForgetTemporary(const std::string& path) {
    const TemporaryStep step;
    for (std::size_t k = 0; k < kSlots; ++k) {
        if (states[k].load() == kKept && kinds[k] != kTidied && path == paths[k]) {
            states[k].store(kFree);
            return;
        }
    }
}

void StopCleanlyOnSignals() {
    struct sigaction action {};
    action.sa_handler = HandleStop;
    sigemptyset(&action.sa_mask);
    for (const int stop : kStops) sigaddset(&action.sa_mask, stop);
    for (const int stop : kStops) {
        // A signal ignored when the run began (nohup) stays ignored.
        struct sigaction before {};
        if (::sigaction(stop, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            ::sigaction(stop, &before, nullptr);
    }
}

void TidyTemporaries(const std::string& folder) {
    RunStamp();
    Note(folder, kTidied);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int at = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        long pid = 0;
        std::string start;
        if (!IsTemporaryName(name, pid, start) || RunAlive(pid, start)) continue;
        // Only files: a folder or link of that name was not made by the writer.
        struct stat info {};
        if (::fstatat(at, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(at, name.c_str(), 0);
    }
    ::closedir(dir);
}

TemporaryStep::TemporaryStep() {
    if (stepDepth++ > 0) return;
    static_assert(sizeof(sigset_t) <= sizeof saved_);
    sigset_t set;
    sigemptyset(&set);
    for (const int stop : kStops) sigaddset(&set, stop);
    // On this thread a stop waits until the step is done; on another it
    // waits for the step to end, so this one cannot be it.
    ::pthread_sigmask(SIG_BLOCK, &set, reinterpret_cast<sigset_t*>(saved_));
    inside.fetch_add(1);
    if (stopping.load()) {
        // The run is ending: nothing more is begun, and the stop ends this thread too.
        inside.fetch_sub(1);
        for (;;) ::pause();
    }
}

TemporaryStep::~TemporaryStep() {
    if (--stepDepth > 0) return;
    inside.fetch_sub(1);
    ::pthread_sigmask(SIG_SETMASK, reinterpret_cast<const sigset_t*>(saved_), nullptr);
}

}  // namespace platform
