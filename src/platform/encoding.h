// Texts inside the tool are Windows-1252 bytes, as the track files hold them.
// They become UTF-8 wherever they leave the program (terminal, JSON, widgets,
// file names).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The Unicode character of one Windows-1252 byte. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, as Windows itself does.
char32_t Cp1252ToUnicode(unsigned char byte);

std::string Cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and malformed UTF-8, become
// `replacement`.
std::string Utf8ToCp1252(std::string_view text, char replacement = '?');

// `utf8` made safe to print on a terminal: control characters (C0 except
// tab, DEL, and C1) and bytes that are not UTF-8 become '?', so that a text
// from a track cannot retitle the terminal, clear it or forge a line.
std::string TerminalText(std::string_view utf8);
inline std::string TerminalTextFromCp1252(std::string_view text) {
    return TerminalText(Cp1252ToUtf8(text));
}

// Paths: file system encoding (UTF-8 here) to and from the tool's texts.
inline std::string TextFromPath(std::string_view path) {
    return Utf8ToCp1252(path);
}
inline std::string PathFromText(std::string_view text) {
    return Cp1252ToUtf8(text);
}

}  // namespace platform
