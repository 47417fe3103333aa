// What the fuzz targets share: a fresh tool state and a scratch file through
// which the input reaches the load action, as a chosen track file would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/scripted_windowing.h"

namespace fuzzing {

// The scripted backend the targets drive the actions through.
platform::ScriptedWindowing& Ui();

// What start-up does once per process: the JPEG encoder and the caption font.
void StartTool();

// A fresh state, with no dialog answers queued and no picture left over from
// the previous input (fonts stay loaded).
void ResetTool();

// A path in the scratch folder (in /dev/shm when there is one).
std::string ScratchPath(const std::string& name);

// Writes `size` bytes, then `padding` more: zeros, or `fill` over and over,
// to the scratch track file and returns its path.
const std::string& WriteScratchTrack(const std::uint8_t* data, std::size_t size,
                                     std::size_t padding = 0,
                                     std::span<const std::uint8_t> fill = {});

const std::string& ScratchTrackPath();

// The load and parse actions, with the open dialog answered by the scratch track.
void LoadAndParseScratchTrack();

}  // namespace fuzzing
