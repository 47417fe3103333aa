// What trk says about its files and tracks, in one form: a failure as
// "trk: WHAT: reason", the status lines of a track's work as the window's
// log shows them. Texts from files and tracks are shown with their control
// characters as '?', so that none can drive a terminal.
#pragma once

#include <iostream>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace cli {

enum ExitCode { kOk = 0, kFailed = 1, kRefused = 2 };

// "trk: WHAT: TEXT" and its newline: the line about a file, a track or an
// option that went wrong (UTF-8).
std::string FileLine(std::string_view what, std::string_view text);

// A status line (Windows-1252) as the window's log shows it, cut to its
// length, in UTF-8 with its newline.
std::string StatusLine(std::string_view cp1252);

// What one track's work tells on stderr, in the order it happened. A quiet
// report (a batch's) leaves out what only tells what went well.
class Report {
  public:
    explicit Report(bool quiet = false) : quiet_(quiet) {}

    void Status(std::string_view cp1252) { text_ += StatusLine(cp1252); }
    void Tell(std::string_view cp1252) {
        if (!quiet_) Status(cp1252);
    }
    void Failure(std::string_view what, std::string_view reason) {
        text_ += FileLine(what, reason);
    }
    // Whether `result` worked; when not, a Failure under `what`.
    template <typename T>
    bool Worked(std::string_view what, const platform::Result<T>& result) {
        if (!result) Failure(what, result.reason());
        return result.ok();
    }
    std::string Take() { return std::move(text_); }

  private:
    bool quiet_;
    std::string text_;
};

// A command that cannot run at all: its FileLine on stderr, exit code 1.
void StopCommand(std::string_view what, std::string_view reason, int& exitCode);

// Whether the command stops at `step`, which failed (as StopCommand).
template <typename T>
bool StopsAt(const platform::Result<T>& step, std::string_view what, int& exitCode) {
    if (!step) StopCommand(what, step.reason(), exitCode);
    return !step;
}

}  // namespace cli
