// Looks at the running window of track-analyse.exe from outside, as the
// Wine check needs it: `window_probe` waits for the window with a listed
// track and prints its title, the listing, the picture control's size and
// place on the screen; `window_probe close` asks the window to close.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring TextOf(HWND window) {
    const auto length = static_cast<int>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = static_cast<int>(
        ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

int LineCount(const std::wstring& text) {
    int lines = text.empty() ? 0 : 1;
    for (wchar_t c : text) lines += c == L'\n' || c == L'\r' ? 1 : 0;
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const bool close = argc > 1 && std::string(argv[1]) == "close";
    HWND window = nullptr;
    HWND listing = nullptr;
    // Start-up under Wine takes seconds on a busy machine.
    for (int tries = 0; tries < 600; ++tries) {
        window = ::FindWindowW(L"TrackAnalyseWindow", nullptr);
        listing = window ? ::GetDlgItem(window, 2) : nullptr;
        if (close ? window != nullptr : listing && LineCount(TextOf(listing)) >= 30) break;
        ::Sleep(100);
    }
    if (!window) {
        std::fputs("no window\n", stderr);
        return 1;
    }
    if (close) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    ::Sleep(1000);  // the picture's first paint
    std::printf("title: %s\n", Utf8(TextOf(window)).c_str());
    std::string text = listing ? Utf8(TextOf(listing)) : "";
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            lines += text[i];
        }
    }
    std::printf("listing:\n%s\nend of listing\n", lines.c_str());
    if (HWND picture = ::GetDlgItem(window, 1)) {
        RECT area{};
        ::GetClientRect(picture, &area);
        POINT origin{0, 0};
        ::ClientToScreen(picture, &origin);
        std::printf("picture: %ldx%ld\npicture on screen: %ld,%ld\n", area.right, area.bottom,
                    origin.x, origin.y);
    }
    return 0;
}
