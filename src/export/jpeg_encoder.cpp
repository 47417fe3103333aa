#include "export/jpeg_encoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>

#include "app/state.h"
#include "export/pixel_rows.h"
#include "platform/safe_file.h"
#include "platform/surface.h"

namespace exporter {
namespace {

struct EncoderEntry {
    std::uint32_t id;
    Encoder encode;
};
std::vector<EncoderEntry> encoderTable;

int qualityOverride = 0;

// libjpeg's own error_exit ends the process; ours jumps back to Compress
// with the library's message instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ReturnToCompress(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// All libjpeg calls live here. Nothing between setjmp and a longjmp out of
// the library may need a destructor, so only plain C data is used.
// Returns true when the library finished; otherwise `message` says why.
bool Compress(std::FILE* file, const std::uint8_t* pixels, int width, int height, int stride,
              int quality, std::uint8_t* row, char* message) {
    jpeg_compress_struct info;
    ErrorManager errors;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ReturnToCompress;
    errors.base.trace_level = -1;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, FALSE);
    jpeg_start_compress(&info, TRUE);
    // Bottom-up source: the picture's top row is the buffer's last.
    for (int y = height - 1; y >= 0; --y) {
        BgrToRgb(pixels + static_cast<std::ptrdiff_t>(y) * stride, row, width);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
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

void SetJpegQualityOverride(int quality) {
    qualityOverride = std::clamp(quality, 0, 100);
}

std::string EncodeJpeg(const std::string& path, std::span<const std::uint8_t> pixels, int width,
                       int height, int stride, int level) {
    if (width <= 0 || height <= 0 || stride < 3 * std::int64_t{width} ||
        pixels.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(height))
        return "the picture has no pixels to save";
    const std::unique_ptr<std::uint8_t[]> row(new (std::nothrow)
                                                  std::uint8_t[3 * std::size_t(width)]);
    if (!row) return "out of memory";
    const int quality = qualityOverride > 0 ? qualityOverride : 10 * std::clamp(level, 0, 10);

    // libjpeg's stdio destination reports a failed write as a library error.
    const platform::WriteResult result = platform::WriteFileSafely(
        path,
        [&](std::FILE* file) -> std::string {
            char message[JMSG_LENGTH_MAX] = {};
            if (Compress(file, pixels.data(), width, height, stride, quality, row.get(), message))
                return "";
            return message[0] != '\0' ? message : "the JPEG library failed";
        },
        app::state.TrackIdentity);
    return result.error;
}

SaveImageResult SaveImage(int pictureNumber, const std::string& path, std::uint32_t encoderId) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return {};
    const int width = picture->width;
    const int height = picture->height;
    if (width <= 0 || height <= 0 ||
        picture->pixels.size() !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {false, "the picture has no pixels to save"};

    const auto entry =
        std::find_if(encoderTable.begin(), encoderTable.end(),
                     [encoderId](const EncoderEntry& e) { return e.id == encoderId; });
    if (entry == encoderTable.end()) return {false, "no encoder for this format"};
    // Refused before the picture is copied: a folder, a FIFO, the track itself.
    const platform::WriteResult check = platform::CheckTarget(path, app::state.TrackIdentity);
    if (!check.Written())
        return {false, check.error, check.status == platform::WriteStatus::kRefused};

    const std::int64_t stride = RowStride(width);
    const std::size_t size = static_cast<std::size_t>(stride * height);
    const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!buffer) return {false, "out of memory"};
    // 24-bit device-independent layout: bottom row first, blue-green-red,
    // each row padded with zeros to the stride.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = buffer.get() + static_cast<std::size_t>(height - 1 - y) * stride;
        ColoursToBgr(picture->pixels.data() + static_cast<std::size_t>(y) * width, out, width);
        std::fill(out + 3 * std::int64_t{width}, out + stride, std::uint8_t{0});
    }
    std::string error = entry->encode(path, std::span(buffer.get(), size), width, height,
                                      static_cast<int>(stride), kSaveImageLevel);
    const bool written = error.empty();
    return {written, std::move(error), false};
}

SaveImageResult SaveImageToStream(int pictureNumber, std::FILE* stream) {
    const platform::PictureRef picture = platform::PictureHandle(pictureNumber);
    if (!picture) return {false, "no picture was made"};
    const int width = picture->width;
    const int height = picture->height;
    if (width <= 0 || height <= 0 ||
        picture->pixels.size() !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {false, "the picture has no pixels to save"};
    const std::int64_t stride = RowStride(width);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(stride * height), 0);
    for (int y = 0; y < height; ++y) {
        ColoursToBgr(picture->pixels.data() + static_cast<std::size_t>(y) * width,
                     buffer.data() + static_cast<std::size_t>(height - 1 - y) * stride, width);
    }
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(width));
    const int quality = qualityOverride > 0 ? qualityOverride : 10 * kSaveImageLevel;
    char message[JMSG_LENGTH_MAX] = {};
    if (!Compress(stream, buffer.data(), width, height, static_cast<int>(stride), quality,
                  row.data(), message))
        return {false, message[0] != '\0' ? message : "the JPEG library failed"};
    if (std::fflush(stream) != 0) return {false, std::strerror(errno)};
    return {true, ""};
}

}  // namespace exporter
