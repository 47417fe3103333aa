#include "cli/summary.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/messages.h"
#include "platform/encoding.h"
#include "platform/standard_streams.h"

namespace cli {

Printer::Printer(std::size_t total, const BatchSettings& settings)
    : total_(total),
      settings_(settings),
      progress_(settings.batch && total > 1 &&
                platform::IsTerminal(platform::StandardStream::kError)),
      outIsTerminal_(platform::IsTerminal(platform::StandardStream::kOutput)),
      start_(Clock::now()) {}

void Printer::Print(const TrackInput& input, const TrackResult& result) {
    std::string messages;
    if (!settings_.batch) {
        messages = result.err;
    } else if (result.outcome != Outcome::kWritten) {
        std::istringstream lines(result.err);
        for (std::string line; std::getline(lines, line);) {
            if (result.outcome == Outcome::kDamaged && line.rfind("Caution: ", 0) != 0) continue;
            messages += line.starts_with("trk: ") ? line + '\n' : FileLine(input.given, line);
        }
    }
    // The progress line goes only for lines that would land on it.
    if (!messages.empty() || (!result.out.empty() && outIsTerminal_)) ClearProgress();
    if (!result.out.empty()) {
        std::cout.write(result.out.data(), static_cast<std::streamsize>(result.out.size()));
    }
    if (!messages.empty()) {
        std::cout.flush();
        std::cerr << messages;
    }
    Count(input, result.outcome);
    ++done_;
    ShowProgress();
}

int Printer::Finish() {
    ClearProgress();
    std::cout.flush();
    if (settings_.batch) std::cerr << Summary() << '\n';
    if (failed_ > 0) return kFailed;
    return refused_ > 0 ? kRefused : kOk;
}

void Printer::Count(const TrackInput& input, Outcome outcome) {
    switch (outcome) {
        case Outcome::kWritten:
            ++written_;
            break;
        case Outcome::kDamaged:
            ++written_;
            ++damaged_;
            break;
        case Outcome::kRefused:
            ++refused_;
            break;
        case Outcome::kFailed:
            ++failed_;
            if (failedNames_.size() < 3) failedNames_.push_back(input.given);
            break;
    }
}

std::string Printer::Summary() const {
    std::string line = "trk: " + std::to_string(total_) + (total_ == 1 ? " track: " : " tracks: ") +
                       std::to_string(written_) + " " + settings_.verb;
    if (damaged_ > 0) line += " (" + std::to_string(damaged_) + " damaged)";
    line += ", " + std::to_string(refused_) + " refused, " + std::to_string(failed_) + " failed";
    for (std::size_t i = 0; i < failedNames_.size(); ++i)
        line += (i == 0 ? ": " : ", ") + platform::TerminalText(failedNames_[i]);
    if (failed_ > failedNames_.size())
        line += " and " + std::to_string(failed_ - failedNames_.size()) + " more";
    return line;
}

void Printer::ShowProgress() {
    if (!progress_ || done_ == total_) return;
    const Clock::time_point now = Clock::now();
    if (now - lastShown_ < std::chrono::milliseconds(100)) return;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done_) / seconds : 0.0;
    const long left = rate > 0 ? std::lround(static_cast<double>(total_ - done_) / rate) : 0;
    char line[128];
    ClearProgress();
    std::snprintf(line, sizeof line, "\r%zu/%zu  %.1f tracks/s  %ld:%02ld left", done_, total_,
                  rate, left / 60, left % 60);
    std::cerr << line << std::flush;
    shown_ = true;
}

void Printer::ClearProgress() {
    if (!shown_) return;
    std::cerr << "\r\x1b[K" << std::flush;
    shown_ = false;
}

}  // namespace cli
