// The process's standard streams as the shell handed them over.
#pragma once

namespace platform {

// Gives /dev/null to each of stdin, stdout and stderr that is closed, so
// that no file opened later takes its number (and output meant for the
// terminal cannot land in it). True when stdout was closed.
bool PlugClosedStandardStreams();

}  // namespace platform
