// The process's standard streams as the shell handed them over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/result.h"

namespace platform {

// Gives /dev/null to each of stdin, stdout and stderr that is closed, so
// that no file opened later takes its number (and output meant for the
// terminal cannot land in it). True when stdout was closed.
bool PlugClosedStandardStreams();

enum class StandardStream { kInput, kOutput, kError };

// True when the stream goes to (or comes from) a terminal.
bool IsTerminal(StandardStream stream);

// Reads standard input to its end, unbuffered (nothing of it is left in the
// C or C++ streams). More than `limit` bytes is a failure, so is a read error.
Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit);

}  // namespace platform
