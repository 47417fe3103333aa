// What the fuzz targets share: a fresh tool state and a scratch file through
// which the input reaches the load action, as a chosen track file would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/scripted_windowing.h"

namespace fuzzing {

// The scripted backend the targets drive the actions through.
platform::ScriptedWindowing& Ui();

// A fresh state, with no dialog answers queued.
void ResetTool();

// Writes `size` bytes (then `padding` zero bytes) to the scratch track file
// and returns its path.
const std::string& WriteScratchTrack(const std::uint8_t* data, std::size_t size,
                                     std::size_t padding = 0);

const std::string& ScratchTrackPath();

// The load and parse actions, with the open dialog answered by the scratch track.
void LoadAndParseScratchTrack();

}  // namespace fuzzing
