#include "export/jpeg_encoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/state.h"
#include "platform/image_codec.h"
#include "platform/safe_file.h"
#include "platform/surface.h"

namespace exporter {
namespace {

struct EncoderEntry {
    std::uint32_t id;
    // cppcheck misses the call through the entry find_if returns.
    // cppcheck-suppress unusedStructMember
    Encoder encode;
};
std::vector<EncoderEntry> encoderTable;

// The state's JPEG quality, else 10 x the level clamped to 0..10.
int QualityFor(int level) {
    const int chosen = std::clamp(app::state.JpegQuality, 0, 100);
    return chosen > 0 ? chosen : 10 * std::clamp(level, 0, 10);
}

bool IsWhole(const platform::Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.pixels.size() ==
               static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
}

}  // namespace

void EnterEncoder(std::uint32_t id, Encoder encoder) {
    const bool known = std::any_of(encoderTable.begin(), encoderTable.end(),
                                   [id](const EncoderEntry& entry) { return entry.id == id; });
    if (!known) encoderTable.push_back({id, encoder});
}

void EnterJpegEncoder() {
    EnterEncoder(kJpegEncoderId, EncodeJpeg);
}

platform::Result<> EncodeJpeg(const std::string& path, const platform::Picture& picture,
                              int level) {
    if (!IsWhole(picture)) return platform::Fail("the picture has no pixels to save");
    const int quality = QualityFor(level);
    return platform::WriteFileSafely(
        path, [&](std::FILE* file) { return platform::WriteJpeg(picture, quality, file); },
        app::state.TrackIdentity);
}

platform::Result<bool> SaveImage(int pictureNumber, const std::string& path,
                                 std::uint32_t encoderId) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return false;
    if (!IsWhole(*picture)) return platform::Fail("the picture has no pixels to save");

    const auto entry =
        std::find_if(encoderTable.begin(), encoderTable.end(),
                     [encoderId](const EncoderEntry& e) { return e.id == encoderId; });
    if (entry == encoderTable.end()) return platform::Fail("no encoder for this format");
    // Refused before anything is encoded: a folder, a FIFO, the track itself.
    const platform::Result<> check = platform::CheckTarget(path, app::state.TrackIdentity);
    if (!check) return check.failure();

    const platform::Result<> encoded = entry->encode(path, *picture, kSaveImageLevel);
    if (!encoded) return encoded.failure();
    return true;
}

platform::Result<> SaveImageToStream(int pictureNumber, std::FILE* stream) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return platform::Fail("no picture was made");
    if (!IsWhole(*picture)) return platform::Fail("the picture has no pixels to save");
    platform::Result<> written = platform::WriteJpeg(*picture, QualityFor(kSaveImageLevel), stream);
    if (!written) return written;
    if (std::fflush(stream) != 0) return platform::Fail(std::strerror(errno));
    return {};
}

}  // namespace exporter
