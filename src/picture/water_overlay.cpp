// Cells of the height map below the water level, as blue 8 x 8 squares.
#include "picture/picture.h"
#include "raster/draw.h"

namespace picture {

void DrawWater(raster::Picture& picture, const track::Track& track) {
    const raster::Colour water = raster::RgbColour(0, 64, 255);
    // Cell 0 is the bottom-left square; each row of 64 cells goes up by 8.
    // Cells of a damaged file that lie beyond its end are left out.
    track::ForEachHeight(track, [&](int i, std::uint8_t height) {
        if (height < track.waterLevel)
            raster::FillBox(picture, 8 * (i % 64), 504 - 8 * (i / 64), 8, 8, water);
    });
}

}  // namespace picture
