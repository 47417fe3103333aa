// Export: the picture as a JPEG file, and a stored car as a ".car" file.
#pragma once

namespace exporter {

void SavePicture();  // "save"
void ExtractCar();   // "Car"

}  // namespace exporter
