// Placeholder until the picture code lands.
#include "picture/picture.h"

namespace picture {
void BuildTrackPicture() {}
void DrawWaterOverlay() {}
void DrawObjectsOverlay() {}
void DrawGhostOverlay() {}
}  // namespace picture
