#include "platform/user_folders.h"

#include <cstdlib>
#include <filesystem>

#include "platform/windowing.h"

namespace platform {
namespace {

std::string AbsoluteSetting(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != kPathSeparator) return "";
    return value;
}

}  // namespace

std::string UserStateFolder(const std::string& program) {
    std::string base = AbsoluteSetting("XDG_STATE_HOME");
    if (base.empty()) {
        const std::string home = AbsoluteSetting("HOME");
        if (home.empty()) return "";
        base = home + "/.local/state";
    }
    if (base.back() != kPathSeparator) base += kPathSeparator;
    return base + program + kPathSeparator;
}

bool MakeFolders(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

}  // namespace platform
