// trk's standard streams. A shell may hand the command a closed stdout
// (`>&-`) or one that cannot take the output (`> /dev/full`); either must be
// reported, not taken for success.
#pragma once

namespace cli {

// First thing in main: a standard stream that was closed gets /dev/null, so
// that no file the tool opens later takes its number. Every write to a
// closed stdout fails, and FinishStandardOutput reports it.
void GuardStandardStreams();

// Last thing in main: flushes stdout. False, with a message on stderr, when
// what was written to it did not all arrive.
bool FinishStandardOutput();

}  // namespace cli
