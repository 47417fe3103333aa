// The window's actions: each a function without arguments that works on
// `app::state` and reports through the status log, as the window's buttons
// run them. They are thin callers of the core (track, picture, export),
// keeping its results in the record.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/state.h"
#include "platform/result.h"
#include "track/track.h"

namespace app {

// "load", first step: asks for a track file and reads it whole into the
// first half of the TrackBuffer; lists its name and size. A file that cannot
// be read changes nothing but the log ("Caution: <file>: <reason>") and
// `LoadError`; the caller then stops.
void LoadTrack();

// "load", second step: parses the loaded bytes, lists the 32 information
// lines and keeps every value and position in the state; a refused file
// posts the caution and changes nothing else.
void ParseTrack();

// "load", last step unless the parse refused the file: the landmap picture
// with its caption as picture kTrackPicture, shown, its name posted.
void BuildTrackPicture();

void DrawWaterOverlay();    // "water"
void DrawObjectsOverlay();  // "Objects"
void DrawGhostOverlay();    // "Ghost"
void SavePicture();         // "save"
void ExtractCar();          // "Car"

// Loads the caption font as font kCaptionFont of the drawing surface.
void LoadCaptionFont();

// The loaded track file: the first TrackFileSize bytes of the TrackBuffer,
// never more than its first half.
std::span<const std::uint8_t> LoadedBytes();

// The track the actions work on: the values and positions of the last
// accepted parse, applied to the bytes now loaded (after a refused load,
// those of the refused file). Refused when no parse has accepted a track.
track::Track RecordedTrack();

// The read-out line for the pointer at picture point (x, y); empty off the
// map and before any track was accepted. While the ghost is drawn, a last
// line names the ghost frame under the pointer.
std::string ReadOutAt(int x, int y);

// Keeps in the state what "save" or "Car" did, for callers that must know
// (the command line's exit code) without reading the status log.
void RecordWrite(WriteOutcome outcome, const std::string& path, const std::string& error);
// The same for a write to `path` that failed or was refused.
void RecordFailedWrite(const std::string& path, const platform::Failure& failure);

// The name the save dialog proposes for car `k` (0..6): the current
// directory, the car's name and ".car", in the file system's encoding.
std::string ProposedCarName(int k);

}  // namespace app
