#include "platform/image_codec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstring>

// jpeglib.h needs stdio's FILE and size_t first.
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

// The picture's rows go to libjpeg as they are stored, through
// libjpeg-turbo's extended colour spaces: no copy of them is made.
#ifndef JCS_EXTENSIONS
#error "the JPEG export needs libjpeg-turbo (JCS_EXT_RGBX)"
#endif

namespace platform {
namespace {

// A Colour (red in the low byte) in memory: red, green, blue, unused on a
// little-endian machine; the other way round on a big-endian one.
constexpr J_COLOR_SPACE kColourSpace =
    std::endian::native == std::endian::little ? JCS_EXT_RGBX : JCS_EXT_XBGR;

// libjpeg's own error_exit ends the process; ours jumps back to Compress
// with the library's message instead.
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ReturnToCompress(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// All libjpeg calls live here. Nothing between setjmp and a longjmp out of
// the library may need a destructor, so only plain C data is used.
// Returns true when the library finished; otherwise `message` says why.
bool Compress(std::FILE* file, const raster::Picture& picture, int quality, char* message) {
    jpeg_compress_struct info;
    JpegErrors errors;
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
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 4;
    info.in_color_space = kColourSpace;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, FALSE);
    jpeg_start_compress(&info, TRUE);
    // libjpeg only reads the rows it is given, though its type says otherwise.
    auto* pixels = const_cast<raster::Colour*>(picture.pixels.data());
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(
            pixels + static_cast<std::size_t>(info.next_scanline) * picture.width)};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

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

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// All libpng calls live here, under the same rule as Compress: `write`
// sets up the image and writes its rows, and keeps nothing that needs a
// destructor, which a jump out of it would skip.
template <typename Write>
bool EncodePng(std::FILE* file, PngErrors* errors, const Write& write) {
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
    write(png, info);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Where a 32-bit pixel's red lies: in its lowest byte (a Colour), or in its
// third (XRGB); green is always in the second, blue opposite red.
enum class RedAt { kLow, kThird };

// One row of 32-bit pixels as PNG's red, green and blue bytes; `out` has a
// byte to spare, which a whole pixel is stored over.
template <RedAt kRed>
void PackRgb(const std::uint8_t* in, int width, png_byte* out) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, in, 4);
        if constexpr (std::endian::native == std::endian::little) {
            // Red, green, blue in memory, then a byte the next pixel covers.
            if constexpr (kRed == RedAt::kThird) pixel = __builtin_bswap32(pixel) >> 8;
            std::memcpy(out, &pixel, 4);
        } else {
            constexpr int kRedShift = kRed == RedAt::kLow ? 0 : 16;
            out[0] = static_cast<png_byte>(pixel >> kRedShift);
            out[1] = static_cast<png_byte>(pixel >> 8);
            out[2] = static_cast<png_byte>(pixel >> (16 - kRedShift));
        }
    }
}

// The rows' pixels as PNG's red, green, blue bytes, packed here into `row`:
// several times faster than libpng's own filler and order transformations.
void WriteRgbRows(png_structp png, png_infop info, int width, int height, std::ptrdiff_t stride,
                  const std::uint8_t* data, RedAt red, PngPacking packing, png_byte* row) {
    if (packing == PngPacking::kQuick) {
        // Rows unfiltered and zlib's fastest level: the choice among filters
        // and the slow deflate were three quarters of a chart's time, and
        // a chart's flat areas pack as small either way. A hash table of
        // 8,192 entries rather than 32,768: zlib shifts the whole table
        // every 32 KiB it packs, a fifth of the packing's cost at the
        // default, for a file 0.3 % larger.
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(png, 1);
        png_set_compression_mem_level(png, 6);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        if (red == RedAt::kLow)
            PackRgb<RedAt::kLow>(data + y * stride, width, row);
        else
            PackRgb<RedAt::kThird>(data + y * stride, width, row);
        png_write_row(png, row);
    }
}

// The palette's entries as libpng takes them, and the bits a pixel needs.
struct PngPalette {
    png_color colours[256];
    png_byte alphas[1] = {0};  // entry 0 transparent, the rest opaque
    int count = 0;
    int depth = 8;
};

PngPalette PaletteOf(const IndexedPicture& picture) {
    PngPalette palette{};
    palette.count = static_cast<int>(picture.palette.size());
    for (int k = 0; k < palette.count; ++k) {
        const raster::Colour c = picture.palette[static_cast<std::size_t>(k)];
        palette.colours[k] = {static_cast<png_byte>(raster::RedOf(c)),
                              static_cast<png_byte>(raster::GreenOf(c)),
                              static_cast<png_byte>(raster::BlueOf(c))};
    }
    while (palette.depth > 1 && palette.count <= 1 << (palette.depth / 2)) palette.depth /= 2;
    return palette;
}

// Pixels of `depth` bits, the first in the highest bits of a byte, as PNG
// packs them: whole bytes in a loop the compiler unrolls, then the rest.
template <int depth>
void PackRow(const std::uint8_t* in, int width, png_byte* row) {
    constexpr int kPerByte = 8 / depth;
    const int whole = width / kPerByte;
    for (int b = 0; b < whole; ++b) {
        unsigned packed = 0;
        for (int k = 0; k < kPerByte; ++k) packed = packed << depth | in[b * kPerByte + k];
        row[b] = static_cast<png_byte>(packed);
    }
    const int rest = width - whole * kPerByte;
    if (rest == 0) return;
    unsigned packed = 0;
    for (int k = 0; k < kPerByte; ++k)
        packed = packed << depth | (k < rest ? in[whole * kPerByte + k] : 0u);
    row[whole] = static_cast<png_byte>(packed);
}

// `row` has room for one packed row: the rows are packed here, a few times
// faster than libpng's own packing, which goes pixel by pixel and bit by bit.
void WriteIndexedRows(png_structp png, png_infop info, const IndexedPicture& picture,
                      PngPalette& palette, png_byte* row) {
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), palette.depth, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette.colours, palette.count);
    png_set_tRNS(png, info, palette.alphas, 1, nullptr);
    // Layers are mostly runs of one index: unfiltered rows coded as runs
    // come out a little larger than the defaults but several times sooner,
    // and a site writes thousands of them.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    // Runs look back one byte only: zlib's table of earlier strings is
    // never searched, yet it is moved along every 32 KB, at as much cost as
    // the runs themselves. A table an eighth of the default's size costs
    // little; a smaller one would also shorten zlib's blocks, whose codes
    // are then made over and over.
    png_set_compression_mem_level(png, 5);
    // Problem() has found every index within the palette; libpng's
    // own check goes pixel by pixel and cost as much as the packing.
    png_set_check_for_invalid_index(png, 0);
    png_write_info(png, info);
    const int depth = palette.depth;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* in =
            picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        switch (depth) {
            case 8:
                png_write_row(png, in);
                continue;
            case 4:
                PackRow<4>(in, picture.width, row);
                break;
            case 2:
                PackRow<2>(in, picture.width, row);
                break;
            default:
                PackRow<1>(in, picture.width, row);
                break;
        }
        png_write_row(png, row);
    }
}

Result<> WritePixelRows(std::FILE* file, PngPacking packing, int width, int height,
                        std::ptrdiff_t stride, const std::uint8_t* data, RedAt red) {
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3 + 1);
    PngErrors errors{};
    if (EncodePng(file, &errors, [&](png_structp png, png_infop info) {
            WriteRgbRows(png, info, width, height, stride, data, red, packing, row.data());
        }))
        return {};
    return Fail(errors.message[0] != '\0' ? errors.message : "the PNG library failed");
}

}  // namespace

Result<> WriteJpeg(const raster::Picture& picture, int quality, std::FILE* file) {
    if (!picture.Whole()) return Fail("the picture has no pixels to save");
    char message[JMSG_LENGTH_MAX] = {};
    if (Compress(file, picture, std::clamp(quality, 0, 100), message)) return {};
    return Fail(message[0] != '\0' ? message : "the JPEG library failed");
}

Result<> WritePng(const raster::Picture& picture, std::FILE* file, PngPacking packing) {
    if (!picture.Whole()) return Fail("no picture to write");
    return WritePixelRows(file, packing, picture.width, picture.height,
                          static_cast<std::ptrdiff_t>(picture.width) * 4,
                          reinterpret_cast<const std::uint8_t*>(picture.pixels.data()),
                          RedAt::kLow);
}

Result<> WritePng(const XrgbRows& rows, std::FILE* file, PngPacking packing) {
    if (!rows.Whole()) return Fail("no picture to write");
    return WritePixelRows(file, packing, rows.width, rows.height, rows.stride, rows.data,
                          RedAt::kThird);
}

Result<> WriteIndexedPng(const IndexedPicture& picture, std::FILE* file) {
    if (const char* problem = picture.Problem()) return Fail(problem);
    PngPalette palette = PaletteOf(picture);
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width));
    PngErrors errors{};
    if (EncodePng(file, &errors, [&](png_structp png, png_infop info) {
            WriteIndexedRows(png, info, picture, palette, row.data());
        }))
        return {};
    return Fail(errors.message[0] != '\0' ? errors.message : "the PNG library failed");
}

}  // namespace platform
