// The process's standard streams and arguments as the shell handed them over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/result.h"

namespace platform {

// Gives the null device to each of stdin, stdout and stderr that is closed,
// so that no file opened later takes its number (and output meant for the
// terminal cannot land in it). The streams carry bytes as they are (no line
// end translation). True when stdout was closed.
bool PlugClosedStandardStreams();

// The arguments in UTF-8. On Windows the narrow ones main() gets are in the
// ANSI code page and lose every character it lacks, so they are taken anew
// from the wide command line; elsewhere they are left as they are. The new
// texts live until the process ends.
void UseUtf8Arguments(int& argc, char**& argv);

enum class StandardStream { kInput, kOutput, kError };

// True when the stream goes to (or comes from) a terminal.
bool IsTerminal(StandardStream stream);

// Reads standard input to its end, unbuffered (nothing of it is left in the
// C or C++ streams). More than `limit` bytes is a failure, so is a read error.
Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit);

}  // namespace platform
