// Export: the picture as a JPEG file, and a stored car as a ".car" file.
#pragma once

#include <string>

namespace exporter {

void SavePicture();  // "save"
void ExtractCar();   // "Car"

// The default path a save dialog offers: the current directory followed by
// `text` (Windows-1252) and `extension`, or by nothing when `text` holds a
// character a file name cannot (the separator among them), so that the
// dialog opens with an empty name.
std::string ProposedPath(const std::string& text, const std::string& extension);

}  // namespace exporter
