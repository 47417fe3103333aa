// Pictures as image files: JPEG at a given quality or PNG, as bytes, into
// a stream, or as a file written through the one safe writer. The codecs
// are platform's (libjpeg-turbo and libpng, or Windows' own).
#pragma once

#include <cstdio>
#include <string>

#include "platform/result.h"
#include "platform/safe_file.h"
#include "raster/picture.h"

namespace exporter {

// What the status log tells of a picture written.
inline constexpr std::string_view kImageSavedStatus = "Image saved";

// The quality the tool has always saved at.
inline constexpr int kJpegQuality = 70;

struct Encoding {
    enum class Kind { kJpeg, kPng };
    Kind kind = Kind::kJpeg;
    int quality = kJpegQuality;  // JPEG only: 1..100 (0 and below write 1)
};
inline constexpr Encoding Jpeg(int quality = kJpegQuality) {
    return {Encoding::Kind::kJpeg, quality};
}
inline constexpr Encoding kPng{Encoding::Kind::kPng, 0};

// What writes the picture into a file or stream (for the safe writer).
platform::StreamWriter ImageWriter(const raster::Picture& picture, const Encoding& encoding);
// Writes the picture into an open stream and flushes it.
platform::Result<> WriteImage(const raster::Picture& picture, const Encoding& encoding,
                              std::FILE* stream);
// The picture's file as bytes in memory.
platform::Result<std::string> ImageBytes(const raster::Picture& picture, const Encoding& encoding);
// Creates or replaces the file `path` through the safe writer; never the
// file `keep` (the track being read), under any name. A failure leaves the
// file as it was.
platform::Result<> SaveImageFile(const std::string& path, const raster::Picture& picture,
                                 const Encoding& encoding, const platform::FileIdentity& keep);

}  // namespace exporter
