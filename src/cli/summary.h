// Progress and summary: what a run prints, track by track in argument
// order, the progress line while it works on a terminal, and the summary
// line at its end.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "cli/batch.h"

namespace cli {

class Printer {
  public:
    Printer(std::size_t total, const BatchSettings& settings);

    // A track's output and messages. A batch keeps quiet about tracks that
    // went well, and of a damaged one tells only its warnings; the others
    // tell all, each line saying which track it is about.
    void Print(const TrackInput& input, const TrackResult& result);
    // The summary of a batch; returns the exit code.
    int Finish();

  private:
    using Clock = std::chrono::steady_clock;

    void Count(const TrackInput& input, Outcome outcome);
    std::string Summary() const;
    void ShowProgress();
    void ClearProgress();

    std::size_t total_;
    const BatchSettings& settings_;
    bool progress_;
    bool outIsTerminal_;
    Clock::time_point start_, lastShown_;
    bool shown_ = false;
    std::size_t done_ = 0, written_ = 0, damaged_ = 0, refused_ = 0, failed_ = 0;
    std::vector<std::string> failedNames_;
};

}  // namespace cli
