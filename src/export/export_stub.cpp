// Placeholder until the export code lands.
#include "export/export.h"

namespace exporter {
void SavePicture() {}
void ExtractCar() {}
}  // namespace exporter
