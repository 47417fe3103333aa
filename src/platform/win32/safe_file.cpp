#include "platform/safe_file.h"
#include "platform/safe_file_shared.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/paths.h"
#include "wide.h"

namespace platform {
namespace {

std::string Folder(const std::string& path) {
    const auto cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return ".";
    return path.substr(0, cut == 0 || (cut == 2 && path[1] == ':') ? cut + 1 : cut);
}

// A name for a new file in `folder` that no other writer picks.
std::string UnusedNameIn(const std::string& folder) {
    // One generator a thread, so that writers on several draw apart.
    thread_local std::mt19937_64 random{std::random_device{}() ^
                                        static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32 ^
                                        ::GetCurrentThreadId()};
    char name[64];
    std::snprintf(name, sizeof name, "\\.trk-%lu-%016llx.tmp",
                  static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(random()));
    return folder + name;
}

}  // namespace

Result<> CheckTarget(const std::string& path, const FileIdentity& keep) {
    if (path.empty()) return Refuse("no file name given");
    // No access asked: only what the path names is looked at.
    const HANDLE file =
        ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
        return Fail(SystemError(error));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    const bool known = disk && ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    // Device names (NUL, CON, COM1) open as character devices.
    const bool folder = known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::uint64_t index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return TargetVerdict(
        FilePart(path), folder, known && !folder,
        known && keep.known && keep.device == info.dwVolumeSerialNumber && keep.inode == index);
}

namespace {

// A new file under a name of its own in `folder`, written whole and closed,
// on disk first when it is to replace a file. Returns its name; after a
// failure nothing is left behind.
Result<std::string> WriteNewIn(const std::string& folder, const StreamWriter& write,
                               bool replacing) {
    std::string name;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        name = UnusedNameIn(folder);
        handle = ::CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        if (handle == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS)
            return Fail("cannot create a file in " + folder + ": " + SystemError(error));
    }
    if (handle == INVALID_HANDLE_VALUE)
        return Fail("cannot create a file in " + folder + ": " + std::strerror(EEXIST));

    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = fd >= 0 ? ::_fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        if (fd >= 0)
            ::_close(fd);
        else
            ::CloseHandle(handle);
        ::DeleteFileW(Wide(name).c_str());
        return Fail(std::strerror(errno));
    }
    const Result<> written = WriteAndFlush(file, write);
    std::string error = written.reason();
    // A replaced file must not be left empty by a crash; a new one had
    // nothing before it to lose.
    if (error.empty() && replacing &&
        !::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)))))
        error = SystemError(::GetLastError());
    if (std::fclose(file) != 0 && error.empty()) error = std::strerror(errno);
    if (!error.empty()) {
        ::DeleteFileW(Wide(name).c_str());
        return Fail(std::move(error));
    }
    return name;
}

}  // namespace

// MoveFileExW replaces a link itself: both ways of AtLink come to that here.
Result<> WriteThroughTemporary(const std::string& path, const StreamWriter& write, AtLink) {
    const std::wstring target = Wide(path);
    const bool replacing = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    const Result<std::string> temporary = WriteNewIn(Folder(path), write, replacing);
    if (!temporary) return temporary.failure();
    const std::wstring from = Wide(*temporary);
    if (!::MoveFileExW(from.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(from.c_str());
        return Fail(SystemError(error));
    }
    return {};
}

Result<std::string> WriteUnnamed(const std::string& folder, const StreamWriter& write) {
    return WriteNewIn(folder, write, false);
}

Result<> MoveIntoPlace(const std::string& written, const std::string& path,
                       const FileIdentity& keep) {
    const std::wstring from = Wide(written);
    Result<> moved = CheckTarget(path, keep);
    if (moved) {
        const std::wstring target = Wide(path);
        std::string error;
        // A replaced file must not be left empty by a crash.
        if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const HANDLE file = ::CreateFileW(from.c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE || !::FlushFileBuffers(file))
                error = SystemError(::GetLastError());
            if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        }
        if (error.empty() && !::MoveFileExW(from.c_str(), target.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = SystemError(::GetLastError());
        if (error.empty()) return {};
        moved = Fail(std::move(error));
    }
    ::DeleteFileW(from.c_str());
    return moved;
}

Result<std::string> BytesWrittenBy(const StreamWriter& write) {
    // No memory streams in the C runtime here: a temporary file that goes
    // when it is closed ("D"), kept in memory while it is small ("T").
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (::GetTempPathW(MAX_PATH + 1, folder) == 0 ||
        ::GetTempFileNameW(folder, L"trk", 0, name) == 0)
        return Fail(SystemError(::GetLastError()));
    std::FILE* file = ::_wfopen(name, L"w+bTD");
    if (file == nullptr) {
        ::DeleteFileW(name);
        return Fail(std::strerror(errno));
    }
    const Result<> written = write(file);
    std::string error = written.reason();
    if (error.empty() && (std::fflush(file) != 0 || std::ferror(file)))
        error = std::strerror(errno);
    std::string bytes;
    if (error.empty()) {
        std::rewind(file);
        char block[65536];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
            bytes.append(block, got);
        if (std::ferror(file)) error = std::strerror(errno);
    }
    std::fclose(file);
    if (!error.empty()) return Fail(std::move(error));
    return bytes;
}

}  // namespace platform
