#include "app/save_image.h"

#include <algorithm>
#include <vector>

#include "app/state.h"
#include "export/image_file.h"
#include "platform/safe_file.h"
#include "platform/surface.h"

namespace app {
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
    const int chosen = std::clamp(state.JpegQuality, 0, 100);
    return chosen > 0 ? chosen : 10 * std::clamp(level, 0, 10);
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

platform::Result<> EncodeJpeg(const std::string& path, const raster::Picture& picture, int level) {
    return exporter::SaveImageFile(path, picture, exporter::Jpeg(QualityFor(level)),
                                   state.TrackIdentity);
}

platform::Result<bool> SaveImage(int pictureNumber, const std::string& path,
                                 std::uint32_t encoderId) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return false;
    if (!picture->Whole()) return platform::Fail("the picture has no pixels to save");

    const auto entry =
        std::find_if(encoderTable.begin(), encoderTable.end(),
                     [encoderId](const EncoderEntry& e) { return e.id == encoderId; });
    if (entry == encoderTable.end()) return platform::Fail("no encoder for this format");
    // Refused before anything is encoded: a folder, a FIFO, the track itself.
    const platform::Result<> check = platform::CheckTarget(path, state.TrackIdentity);
    if (!check) return check.failure();

    const platform::Result<> encoded = entry->encode(path, *picture, kSaveImageLevel);
    if (!encoded) return encoded.failure();
    return true;
}

platform::Result<> SaveImageToStream(int pictureNumber, std::FILE* stream) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return platform::Fail("no picture was made");
    if (!picture->Whole()) return platform::Fail("the picture has no pixels to save");
    return exporter::WriteImage(*picture, exporter::Jpeg(QualityFor(kSaveImageLevel)), stream);
}

}  // namespace app
