#include "platform/fltk/fltk_text.h"

#include "bytes/number_text.h"
#include "platform/encoding.h"
#include "platform/paths.h"

namespace platform::fltk {
namespace {

// file:///home/a%20b.trk and file://localhost/home/... name local files;
// a URI of another host does not, and neither does plain text, even text
// that looks like a path: only a dropped file is loaded.
std::optional<std::string> LocalPathOf(std::string_view entry) {
    constexpr std::string_view kScheme = "file://";
    if (entry.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    entry.remove_prefix(kScheme.size());
    const auto slash = entry.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = entry.substr(0, slash);
    if (!host.empty() && host != "localhost") return std::nullopt;
    entry.remove_prefix(slash);

    std::string path;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (entry[i] == '%' && i + 2 < entry.size()) {
            const int high = bytes::DigitValue(entry[i + 1]);
            const int low = bytes::DigitValue(entry[i + 2]);
            if (high < 16 && low < 16) {
                path += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        path += entry[i];
    }
    // A NUL cannot be part of a path; such an entry names no file.
    if (path.find('\0') != std::string::npos) return std::nullopt;
    return path;
}

}  // namespace

std::string ChooserFilter(std::string_view filter) {
    std::string out;
    bool pattern = false;
    for (char c : filter) {
        if (c == '|') {
            out += pattern ? '\n' : '\t';
            pattern = !pattern;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> DroppedTrackPath(std::string_view list) {
    while (!list.empty()) {
        const auto end = list.find('\n');
        std::string_view entry = list.substr(0, end);
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
        while (!entry.empty() && (entry.back() == '\r' || entry.back() == ' '))
            entry.remove_suffix(1);
        if (entry.empty() || entry.front() == '#') continue;  // text/uri-list comments
        auto path = LocalPathOf(entry);
        if (path && IsTrackFileName(*path)) return path;
    }
    return std::nullopt;
}

std::string DisplayText(std::string_view cp1252) {
    std::string text = Cp1252ToUtf8(cp1252);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> TextLines(std::string_view utf8) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(utf8.substr(start));
            break;
        }
        lines.emplace_back(utf8.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string CutToWidth(std::string_view line, double width,
                       const std::function<double(std::string_view)>& measure) {
    if (measure(line) <= width) return std::string(line);
    static constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
    std::size_t keep = line.size();
    while (keep > 0) {
        // Back to the start of the previous UTF-8 character.
        do {
            --keep;
        } while (keep > 0 && (static_cast<unsigned char>(line[keep]) & 0xC0) == 0x80);
        std::string cut(line.substr(0, keep));
        cut += kEllipsis;
        if (measure(cut) <= width) return cut;
    }
    return std::string(kEllipsis);
}

}  // namespace platform::fltk
