#include "export/image_file.h"

#include <cerrno>
#include <cstring>

#include "platform/image_codec.h"

namespace exporter {
namespace {

platform::Result<> Encode(const raster::Picture& picture, const Encoding& encoding,
                          std::FILE* stream) {
    if (encoding.kind == Encoding::Kind::kPng) return platform::WritePng(picture, stream);
    return platform::WriteJpeg(picture, encoding.quality, stream);
}

}  // namespace

platform::StreamWriter ImageWriter(const raster::Picture& picture, const Encoding& encoding) {
    return [&picture, encoding](std::FILE* stream) { return Encode(picture, encoding, stream); };
}

platform::Result<> WriteImage(const raster::Picture& picture, const Encoding& encoding,
                              std::FILE* stream) {
    platform::Result<> written = Encode(picture, encoding, stream);
    if (!written) return written;
    if (std::fflush(stream) != 0) return platform::Fail(std::strerror(errno));
    return {};
}

platform::Result<std::string> ImageBytes(const raster::Picture& picture, const Encoding& encoding) {
    return platform::BytesWrittenBy(ImageWriter(picture, encoding));
}

platform::Result<> SaveImageFile(const std::string& path, const raster::Picture& picture,
                                 const Encoding& encoding, const platform::FileIdentity& keep) {
    if (!picture.Whole()) return platform::Fail("the picture has no pixels to save");
    return platform::WriteFileSafely(path, ImageWriter(picture, encoding), keep);
}

}  // namespace exporter
