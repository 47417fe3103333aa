#pragma once

namespace track {

inline constexpr int kInfoListControl = 2;

// "load", first step: asks for a track file and reads it whole into the
// first half of the TrackBuffer; lists its name and size. A file that cannot
// be read changes nothing but the log ("Caution: <file>: <reason>") and
// `LoadError`; the caller then stops.
void LoadTrack();

// "load", second step: checks the version, walks the sections, lists the
// 32 information lines and keeps every value and position in the state.
void ParseTrack();

}  // namespace track
