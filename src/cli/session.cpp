#include "cli/session.h"

#include <iostream>

#include "app/state.h"
#include "platform/encoding.h"
#include "platform/surface.h"
#include "track/track.h"

namespace cli {
namespace {

std::ostream* errorStream = &std::cerr;

}  // namespace

Session::Session(std::ostream& errors) : previousErrors_(errorStream) {
    errorStream = &errors;
    platform::UseWindowing(&ui);
    ui.onStatusLine = [this](const std::string& line) {
        newestStatusLine = line;
        *errorStream << platform::Cp1252ToUtf8(line) << '\n';
    };
    // The state is made fresh by each LoadTrack; once here would only clear
    // 2 MB a second time per track.
}

Session::Session() : Session(std::cerr) {}

Session::~Session() {
    platform::UseWindowing(nullptr);
    errorStream = previousErrors_;
}

ExitCode Session::LoadTrack(const std::string& path, const std::string& shown) {
    app::InitialiseState();
    ui.texts.clear();
    ui.answers = {path};
    track::LoadTrack();
    ui.answers.clear();
    if (!app::state.LoadError.empty()) {
        PrintError(shown.empty() ? path : shown, app::state.LoadError);
        return kFailed;
    }
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

std::ostream& ErrorStream() {
    return *errorStream;
}

void PrintError(const std::string& what, const std::string& reason) {
    *errorStream << "trk: " << what << ": " << reason << '\n';
}

}  // namespace cli
