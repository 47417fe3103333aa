#include "export/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/state.h"
#include "platform/safe_file.h"

namespace exporter {
namespace {

struct PngErrors {
    char message[200];
};

// libpng's default error handler aborts through its own longjmp; ours keeps
// the message first, then jumps back to Encode.
void OnPngError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// All libpng calls live here. Nothing between setjmp and a jump out of the
// library may need a destructor, so only plain C data is used.
bool Encode(std::FILE* file, const platform::Picture& picture, png_bytep row, PngErrors* errors) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnPngError, OnPngWarning);
    if (png == nullptr) {
        std::snprintf(errors->message, sizeof errors->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(errors->message, sizeof errors->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const platform::Colour c = picture.At(x, y);
            row[3 * x] = static_cast<png_byte>(platform::RedOf(c));
            row[3 * x + 1] = static_cast<png_byte>(platform::GreenOf(c));
            row[3 * x + 2] = static_cast<png_byte>(platform::BlueOf(c));
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool IsWhole(const platform::Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height;
}

}  // namespace

bool WritePngToStream(const platform::Picture& picture, std::FILE* stream, std::string& error) {
    if (!IsWhole(picture)) {
        error = "no picture to write";
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 3);
    PngErrors errors{};
    if (!Encode(stream, picture, row.data(), &errors)) {
        error = errors.message;
        return false;
    }
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
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 3);
    const platform::WriteResult result = platform::WriteFileSafely(
        path,
        [&](std::FILE* file) -> std::string {
            PngErrors errors{};
            return Encode(file, picture, row.data(), &errors) ? "" : errors.message;
        },
        app::state.TrackIdentity);
    error = result.error;
    return result.Written();
}

}  // namespace exporter
