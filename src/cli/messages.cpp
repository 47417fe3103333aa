#include "cli/messages.h"

#include "platform/encoding.h"
#include "track/track.h"

namespace cli {

std::string FileLine(std::string_view what, std::string_view text) {
    return "trk: " + platform::TerminalText(what) + ": " + platform::TerminalText(text) + '\n';
}

std::string StatusLine(std::string_view cp1252) {
    return platform::TerminalTextFromCp1252(cp1252.substr(0, track::kStatusLineLength)) + '\n';
}

void StopCommand(std::string_view what, std::string_view reason, int& exitCode) {
    std::cerr << FileLine(what, reason);
    exitCode = kFailed;
}

}  // namespace cli
