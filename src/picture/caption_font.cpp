#include "picture/picture.h"
#include "platform/encoding.h"
#include "platform/font.h"

namespace picture {

const raster::Font& CaptionFont() {
    // A function's static is made once, by the first thread that gets here,
    // while any other waits; afterwards it is only read.
    static const std::unique_ptr<raster::Font> font = [] {
        std::unique_ptr<raster::Font> made = platform::MakeFont(
            platform::PathFromText(kCaptionFace), raster::PointsToPixels(kCaptionPoints));
        return made ? std::move(made) : platform::MakeDefaultFont();
    }();
    return *font;
}

}  // namespace picture
