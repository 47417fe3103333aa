#include "cli/session.h"

#include <iostream>

#include "app/state.h"
#include "platform/encoding.h"
#include "platform/surface.h"
#include "track/track.h"

namespace cli {

Session::Session() {
    platform::UseWindowing(&ui);
    ui.onStatusLine = [this](const std::string& line) {
        newestStatusLine = line;
        std::cerr << platform::TerminalTextFromCp1252(line) << '\n';
    };
    app::InitialiseState();
}

Session::~Session() {
    platform::UseWindowing(nullptr);
    platform::FreeSurface();
}

ExitCode Session::LoadTrack(const std::string& path) {
    if (path.empty()) {
        PrintError("\"\"", "an empty path names no file");
        return kFailed;
    }
    ui.answers.push_back(path);
    track::LoadTrack();
    // The load has said why on the status log, which goes to stderr.
    if (!app::state.LoadError.empty()) return kFailed;
    track::ParseTrack();
    return app::state.TrackRejected ? kRefused : kOk;
}

std::string Session::InfoText() const {
    const auto box = ui.lines.find(track::kInfoListControl);
    if (box == ui.lines.end() || box->second.empty()) return "";
    // Line by line, so that a line break inside a track's text shows as '?'
    // and cannot forge a line of its own.
    std::string text;
    for (std::size_t i = 0; i < box->second.size(); ++i) {
        if (i > 0) text += '\n';
        text += platform::TerminalTextFromCp1252(box->second[i]);
    }
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text;
}

void PrintError(const std::string& what, const std::string& reason) {
    std::cerr << "trk: " << platform::TerminalText(what) << ": " << platform::TerminalText(reason)
              << '\n';
}

}  // namespace cli
