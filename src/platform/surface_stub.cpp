// Placeholder until the drawing surface lands.
#include "platform/surface.h"

namespace platform {
bool PictureFromBitmap(int, std::span<const std::uint8_t>) { return false; }
bool PictureExists(int) { return false; }
PictureRef PictureHandle(int) { return nullptr; }
bool LoadFontNumbered(int, const std::string&, int) { return false; }
FontRef FontHandle(int) { return nullptr; }
void BeginDrawing(int) {}
void EndDrawing() {}
void SetDrawingFont(FontRef) {}
int DrawTextAt(int x, int, const std::string&, Colour, Colour) { return x; }
void FillBox(int, int, int, int, Colour) {}
void PlotPixel(int, int, Colour) {}
void DrawLine(int, int, int, int, Colour) {}
void FloodFill(int, int, Colour, Colour) {}
void FreeSurface() {}
}  // namespace platform
