#include "platform/encoding.h"

#include <array>

namespace platform {
namespace {

// 0x80..0x9F, where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int ByteFromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c) return 0x80 + i;
    return -1;
}

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

namespace {

// Decodes the UTF-8 character at `i`: its length, or 0 when the bytes there
// are not well-formed UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80         ? 0
                      : (lead >> 5) == 6  ? 1
                      : (lead >> 4) == 14 ? 2
                      : (lead >> 3) == 30 ? 3
                                          : -1;
    if (extra < 0) return 0;
    c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= text.size()) return 0;
        const auto cont = static_cast<unsigned char>(text[i + k]);
        if ((cont >> 6) != 2) return 0;
        c = (c << 6) | (cont & 0x3F);
    }
    return std::size_t{1} + static_cast<std::size_t>(extra);
}

}  // namespace

std::string Utf8ToCp1252(std::string_view text, char replacement) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, i, c);
        if (length == 0) {
            out += replacement;
            ++i;
            continue;
        }
        const int byte = ByteFromUnicode(c);
        out += byte < 0 ? replacement : static_cast<char>(byte);
        i += length;
    }
    return out;
}

std::string TerminalText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8, i, c);
        const bool control = (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0);
        if (length == 0 || control) {
            out += '?';
            i += length == 0 ? 1 : length;
            continue;
        }
        out.append(utf8.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace platform
