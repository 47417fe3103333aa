// Paths for std::filesystem from the tool's UTF-8 path texts, and back.
// std::filesystem takes a plain std::string in the system's narrow code
// page, which on Windows is not UTF-8 and loses characters: these go
// through char8_t, which means UTF-8 everywhere.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

inline std::filesystem::path FsPath(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

}  // namespace platform
