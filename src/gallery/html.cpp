#include "gallery/html.h"

#include "platform/encoding.h"

namespace gallery {

std::string Html(std::string_view utf8) {
    const std::string text = platform::TerminalText(utf8);
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlFromTrack(std::string_view cp1252) {
    return Html(platform::Cp1252ToUtf8(cp1252));
}

std::string UrlPart(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::string DataUrl(std::string_view type, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out = "data:" + std::string(type) + ";base64,";
    const std::size_t head = out.size();
    // Sized once and written in place: a page holds a few hundred kilobytes
    // of these, and appending a character at a time cost five times more.
    out.resize(head + (bytes.size() + 2) / 3 * 4);
    char* to = out.data() + head;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3, to += 4) {
        const unsigned group =
            unsigned{bytes[i]} << 16 | unsigned{bytes[i + 1]} << 8 | bytes[i + 2];
        to[0] = kDigits[group >> 18];
        to[1] = kDigits[(group >> 12) & 63];
        to[2] = kDigits[(group >> 6) & 63];
        to[3] = kDigits[group & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 2 == bytes.size();
        const unsigned group = unsigned{bytes[i]} << 16 | (two ? unsigned{bytes[i + 1]} << 8 : 0u);
        to[0] = kDigits[group >> 18];
        to[1] = kDigits[(group >> 12) & 63];
        to[2] = two ? kDigits[(group >> 6) & 63] : '=';
        to[3] = '=';
    }
    return out;
}

}  // namespace gallery
