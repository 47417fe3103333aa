#include "cli/session.h"

#include <iostream>

#include "app/actions.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "cli/batch.h"
#include "platform/encoding.h"
#include "platform/surface.h"
#include "start/core.h"

namespace cli {
namespace {

std::ostream* errorStream = &std::cerr;

}  // namespace

Session::Session(std::ostream& errors) : previousErrors_(errorStream) {
    errorStream = &errors;
    start::StartCore(&ui);
    ui.onStatusLine = [this](const std::string& line) {
        newestStatusLine = line;
        if (holding_) {
            held_.push_back(line);
        } else {
            *errorStream << platform::TerminalTextFromCp1252(line) << '\n';
        }
    };
}

Session::Session() : Session(std::cerr) {}

Session::~Session() {
    platform::UseWindowing(nullptr);
    errorStream = previousErrors_;
}

ExitCode Session::LoadTrack(const std::string& path) {
    if (path.empty()) {
        PrintError("\"\"", "an empty path names no file");
        return kFailed;
    }
    // The session started fresh; a second track in it starts fresh again.
    if (loaded_) app::InitialiseState();
    loaded_ = true;
    ui.texts.clear();
    ui.lines.clear();
    ui.answers = {path};
    app::LoadTrack();
    ui.answers.clear();
    // The load has said why on the status log, which goes to the error stream.
    if (!app::state.LoadError.empty()) return kFailed;
    app::ParseTrack();
    return app::state.TrackRejected ? kRefused : kOk;
}

std::string Session::InfoText() const {
    const auto box = ui.lines.find(app::kInfoListControl);
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

void Session::Release(bool shown) {
    holding_ = false;
    if (shown) {
        for (const std::string& line : held_)
            *errorStream << platform::TerminalTextFromCp1252(line) << '\n';
    }
    held_.clear();
}

void Session::Telling(const std::function<void()>& step) {
    holding_ = true;
    step();
    Release(!quiet);
}

bool Session::Write(const std::function<void()>& action) {
    holding_ = true;
    action();
    const app::AnalyserState& s = app::state;
    const bool failed =
        s.LastWrite == app::WriteOutcome::kNotSaved || s.LastWrite == app::WriteOutcome::kRefused;
    // A failure before any file was chosen (no car there) is told as the
    // action told it.
    if (failed && !s.WritePath.empty()) {
        Release(false);
        PrintError(s.WritePath, s.WriteError);
    } else {
        Release(!quiet || s.LastWrite != app::WriteOutcome::kSaved);
    }
    return s.LastWrite == app::WriteOutcome::kSaved;
}

std::ostream& ErrorStream() {
    return *errorStream;
}

std::string ErrorLine(const std::string& what, const std::string& reason) {
    return "trk: " + platform::TerminalText(what) + ": " + platform::TerminalText(reason) + '\n';
}

void PrintError(const std::string& what, const std::string& reason) {
    *errorStream << ErrorLine(what, reason);
}

void StopCommand(const std::string& what, const std::string& reason, int& exitCode) {
    PrintError(what, reason);
    RemoveStdinCopy();
    exitCode = kFailed;
}

}  // namespace cli
