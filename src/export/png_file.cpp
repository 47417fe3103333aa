#include "export/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/state.h"
#include "platform/image_codec.h"
#include "platform/safe_file.h"

namespace exporter {

platform::Result<> WritePngToStream(const platform::Picture& picture, std::FILE* stream) {
    platform::Result<> written = platform::WritePng(picture, stream);
    if (!written) return written;
    if (std::fflush(stream) != 0) return platform::Fail(std::strerror(errno));
    return {};
}

platform::Result<> WritePng(const platform::Picture& picture, const std::string& path) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
        return platform::Fail("no picture to write");
    return platform::WriteFileSafely(
        path, [&](std::FILE* file) { return platform::WritePng(picture, file); },
        app::state.TrackIdentity);
}

}  // namespace exporter
