// One run of the tool's actions for the command line: the state, the
// scripted windowing backend answering the dialogs, and the status log
// going to the error stream as lines are posted.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/result.h"
#include "platform/scripted_windowing.h"

namespace cli {

enum ExitCode { kOk = 0, kFailed = 1, kRefused = 2 };

class Session {
  public:
    // Messages (status lines and PrintError) go to `errors` while the
    // session lives; a batch passes a buffer per track.
    explicit Session(std::ostream& errors);
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads and parses the track through the "load" actions, answering the
    // open dialog with `path`, from a fresh state: every track of a batch
    // is read as if it were the only one. kFailed (message on the error
    // stream) when the file could not be read, kRefused when the parse
    // refused it.
    ExitCode LoadTrack(const std::string& path);

    // The information box as UTF-8, every line ended by a newline, with
    // control characters shown as '?'.
    std::string InfoText() const;

    // Runs `step`, whose status lines only tell what went well (the
    // picture's name): shown unless the session is quiet.
    void Telling(const std::function<void()>& step);

    // Runs an action that writes a file and returns whether it recorded the
    // file as saved. A write that failed is told in the one form of every
    // output failure, "trk: PATH: reason"; a success as the action told it,
    // unless the session is quiet.
    bool Write(const std::function<void()>& action);

    platform::ScriptedWindowing ui;
    // The last line posted to the status log; callers clear it before an
    // action to learn what the action reported.
    std::string newestStatusLine;
    // A batch keeps quiet about what went well.
    bool quiet = false;

  private:
    void Release(bool shown);

    std::ostream* previousErrors_;
    bool loaded_ = false;
    bool holding_ = false;
    std::vector<std::string> held_;  // status lines held back while holding_
};

// Where messages go now: std::cerr, or the buffer of the open session.
std::ostream& ErrorStream();

// "trk: <what>: <reason>" on the error stream (UTF-8, control characters
// shown as '?').
void PrintError(const std::string& what, const std::string& reason);
// The line PrintError prints, with its newline.
std::string ErrorLine(const std::string& what, const std::string& reason);

// Whether `result` worked; when not, PrintError says why under `what`.
template <typename T>
bool Worked(const std::string& what, const platform::Result<T>& result) {
    if (!result) PrintError(what, result.reason());
    return result.ok();
}

// A command that cannot run at all: PrintError says why, the copy of
// standard input goes, and the exit code is 1.
void StopCommand(const std::string& what, const std::string& reason, int& exitCode);

// Whether the command stops at `step`, which failed (as StopCommand).
template <typename T>
bool StopsAt(const platform::Result<T>& step, const std::string& what, int& exitCode) {
    if (!step) StopCommand(what, step.reason(), exitCode);
    return !step;
}

}  // namespace cli
