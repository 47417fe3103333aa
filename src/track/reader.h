// Every read of track bytes goes through a Reader: it knows how many bytes
// the loaded file has, and a read that would reach outside them answers
// "missing" (numbers 0, texts empty) instead of touching other memory.
#pragma once

#include "platform/byte_reader.h"

namespace track {

using Reader = platform::ByteReader;

// The loaded track file: the first TrackFileSize bytes of the TrackBuffer,
// never more than its first half.
Reader LoadedTrack();

}  // namespace track
