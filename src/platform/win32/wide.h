// UTF-16 for the wide Windows API from the tool's UTF-8 path texts, and back.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Malformed UTF-8 (or lone surrogates) become U+FFFD.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// Why `error` (a GetLastError code) happened, in the C library's words
// where it has them, so that messages read as on other systems.
std::string SystemError(DWORD error);

}  // namespace platform
