#include "platform/standard_streams.h"

#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "wide.h"

namespace platform {

bool PlugClosedStandardStreams() {
    bool stdoutClosed = false;
    for (int fd = 0; fd <= 2; ++fd) {
        const intptr_t handle = ::_get_osfhandle(fd);
        if (handle == -1 || handle == -2) {
            const int plug = ::_wopen(L"NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
            if (plug >= 0 && plug != fd) {
                ::_dup2(plug, fd);
                ::_close(plug);
            }
            if (fd == 1) stdoutClosed = true;
        }
        // Pictures go to stdout as bytes, and listings end lines with "\n"
        // as on every other system.
        ::_setmode(fd, _O_BINARY);
    }
    // The tool prints UTF-8; a console shows it only when told so.
    DWORD mode = 0;
    if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode))
        ::SetConsoleOutputCP(CP_UTF8);
    return stdoutClosed;
}

void UseUtf8Arguments(int& argc, char**& argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return;
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.clear();
    for (int i = 0; i < count; ++i) texts.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    pointers.clear();
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

bool IsTerminal(StandardStream stream) {
    const DWORD which = stream == StandardStream::kInput    ? STD_INPUT_HANDLE
                        : stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE
                                                            : STD_ERROR_HANDLE;
    // _isatty() says yes to every character device, NUL included.
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> block(65536);
    for (;;) {
        const int got = ::_read(0, block.data(), static_cast<unsigned>(block.size()));
        if (got < 0) return Fail(std::strerror(errno));
        if (got == 0) return bytes;
        bytes.insert(bytes.end(), block.begin(), block.begin() + got);
        if (bytes.size() > limit) return Fail("longer than " + std::to_string(limit) + " bytes");
    }
}

}  // namespace platform
