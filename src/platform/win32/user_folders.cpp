#include "platform/user_folders.h"

#include <cstdlib>

#include "platform/paths.h"
#include "wide.h"

namespace platform {

std::string UserStateFolder(const std::string& program) {
    // Local, not roaming: the remembered folder names this machine's disks.
    const wchar_t* base = ::_wgetenv(L"LOCALAPPDATA");
    if (base == nullptr || base[0] == L'\0') return "";
    std::string folder = Utf8(base);
    if (folder.back() != '\\') folder += '\\';
    return folder + program + '\\';
}

}  // namespace platform
