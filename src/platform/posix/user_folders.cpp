#include "platform/user_folders.h"

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"

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
    return WithSeparator(base) + program + kPathSeparator;
}

}  // namespace platform
