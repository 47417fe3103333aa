// Export: the picture as a JPEG file, and a stored car as a ".car" file.
#pragma once

#include <string>

#include "app/state.h"
#include "platform/result.h"

namespace exporter {

void SavePicture();  // "save"
void ExtractCar();   // "Car"

// Keeps in the state what "save" or "Car" did, for callers that must know
// (the command line's exit code) without reading the status log.
void RecordWrite(app::WriteOutcome outcome, const std::string& path, const std::string& error);
// The same for a write to `path` that failed or was refused.
void RecordFailedWrite(const std::string& path, const platform::Failure& failure);

// The default path a save dialog offers: the current directory followed by
// `text` (Windows-1252) and `extension`, or by nothing when `text` holds a
// character a file name cannot (the separator among them), so that the
// dialog opens with an empty name.
std::string ProposedPath(const std::string& text, const std::string& extension);

}  // namespace exporter
