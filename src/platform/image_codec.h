// Pictures into image files: the system's image libraries behind one seam.
// On Linux libjpeg-turbo and libpng; another system may implement these with
// its own codecs. Both write into a file opened for writing in binary and
// leave it open; the caller flushes and closes it.
#pragma once

#include <cstdio>
#include <string>

#include "platform/surface.h"

namespace platform {

// Writes `picture` as a baseline JPEG (YCbCr, 4:2:0) at `quality`, clamped
// to 0..100 with 0 taken as 1, into `file`. Returns the empty text when the
// whole image was written, else the reason.
std::string WriteJpeg(const Picture& picture, int quality, std::FILE* file);

// Writes `picture` as a PNG (8-bit RGB, exactly its pixels) into `file`.
// Returns the empty text when the whole image was written, else the reason.
std::string WritePng(const Picture& picture, std::FILE* file);

}  // namespace platform
