#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "wide.h"

namespace platform {

Result<FileRead> ReadWholeFile(const std::string& path, std::span<std::uint8_t> buffer) {
    // Backup semantics let a folder open, so that it is named as one.
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Refuse(path.empty() ? std::strerror(ENOENT) : SystemError(::GetLastError()));
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    if (!disk || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(file);
        return Refuse(disk && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                          ? std::strerror(EISDIR)
                          : "not a regular file");
    }
    const auto length =
        static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    if (length > static_cast<std::int64_t>(buffer.size())) {
        ::CloseHandle(file);
        return Refuse("longer than " + std::to_string(buffer.size()) + " bytes");
    }
    FileRead read{0,
                  {info.dwVolumeSerialNumber,
                   (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, true}};
    std::optional<DWORD> error;
    while (read.bytesRead < length) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(length - read.bytesRead);
        if (!::ReadFile(file, buffer.data() + read.bytesRead, want, &got, nullptr)) {
            error = ::GetLastError();
            break;
        }
        if (got == 0) break;
        read.bytesRead += got;
    }
    ::CloseHandle(file);
    if (error) return Fail(SystemError(*error));
    return read;
}

Result<std::string> MakePrivateTemporaryFolder(const std::string& prefix) {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) return Fail(SystemError(::GetLastError()));
    // The user's own temporary folder is private to the user already; a
    // name nobody has taken is made with CreateDirectory's refusal of one
    // that exists.
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, "%lu-%lu-%d",
                      static_cast<unsigned long>(::GetCurrentProcessId()),
                      static_cast<unsigned long>(::GetTickCount()), attempt);
        const std::string folder = Utf8(base) + prefix + suffix;
        if (::CreateDirectoryW(Wide(folder).c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return Fail(SystemError(::GetLastError()));
    }
    return Fail(std::strerror(EEXIST));
}

}  // namespace platform
