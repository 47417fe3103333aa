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

}  // namespace platform
