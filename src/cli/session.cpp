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
        std::cerr << platform::Cp1252ToUtf8(line) << '\n';
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
    const auto box = ui.texts.find(track::kInfoListControl);
    if (box == ui.texts.end() || box->second.empty()) return "";
    std::string text = platform::Cp1252ToUtf8(box->second);
    if (text.back() != '\n') text += '\n';
    return text;
}

void PrintError(const std::string& what, const std::string& reason) {
    std::cerr << "trk: " << what << ": " << reason << '\n';
}

}  // namespace cli
