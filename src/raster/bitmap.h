// Pictures from BMP file images of 8 bits per pixel with their colour table,
// the kind the track picture is assembled as.
#pragma once

#include <cstdint>
#include <span>

#include "raster/picture.h"

namespace raster {

// Decodes `image` into `picture`, reusing its pixel memory (a picture remade
// for every track of a batch then costs no fresh megabyte each time). The
// image is read only inside its bytes. False, with `picture` left empty,
// when the image is not one of that kind or claims more than it holds.
bool DecodeBitmap(std::span<const std::uint8_t> image, Picture& picture);

}  // namespace raster
