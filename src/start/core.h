// Start-up of what the window's actions work on, the same for every front
// end that runs them: the window, trk and the fuzz targets.
#pragma once

#include "platform/windowing.h"

namespace start {

// Makes ready for the actions: `ui` becomes the windowing backend (nullptr:
// none) and the state record starts fresh.
void StartCore(platform::Windowing* ui);

// Readies what drawing and saving need: the JPEG encoder and the caption
// font, each loaded once. The window does this at start; trk only before
// its first picture, so that a listing costs neither.
void PrepareDrawing();

}  // namespace start
