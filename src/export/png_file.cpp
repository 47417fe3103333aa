#include "export/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/state.h"
#include "platform/image_codec.h"
#include "platform/safe_file.h"

namespace exporter {

bool WritePngToStream(const platform::Picture& picture, std::FILE* stream, std::string& error) {
    error = platform::WritePng(picture, stream);
    if (!error.empty()) return false;
    if (std::fflush(stream) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool WritePng(const platform::Picture& picture, const std::string& path, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        error = "no picture to write";
        return false;
    }
    const platform::WriteResult result = platform::WriteFileSafely(
        path, [&](std::FILE* file) { return platform::WritePng(picture, file); },
        app::state.TrackIdentity);
    error = result.error;
    return result.Written();
}

}  // namespace exporter
