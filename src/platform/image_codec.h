// Pictures into image files: the system's image libraries behind one seam.
// On Linux libjpeg-turbo and libpng; another system may implement these with
// its own codecs. Both write into a file opened for writing in binary and
// leave it open; the caller flushes and closes it.
#pragma once

#include <cstdio>
#include <string>

#include "platform/result.h"
#include "raster/picture.h"

namespace platform {

// Writes `picture` as a baseline JPEG (YCbCr, 4:2:0) at `quality`, clamped
// to 0..100 with 0 taken as 1, into `file`; fails unless the whole image
// was written.
Result<> WriteJpeg(const raster::Picture& picture, int quality, std::FILE* file);

// Writes `picture` as a PNG (8-bit RGB, exactly its pixels) into `file`;
// fails unless the whole image was written.
Result<> WritePng(const raster::Picture& picture, std::FILE* file);

}  // namespace platform
