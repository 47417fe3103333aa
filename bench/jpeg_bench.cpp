// The JPEG export of a 512 x 560 picture against the floor: libjpeg alone
// compressing the same RGB rows at the same quality to the same place.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

#include "app/save_image.h"
#include "platform/surface.h"
#include "support/bitmap.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 560;

std::string OutputPath() {
    return std::filesystem::is_directory("/dev/shm") ? "/dev/shm/ta-jpeg-bench.jpg"
                                                     : "/tmp/ta-jpeg-bench.jpg";
}

// A landmap-like picture: runs of a few terrain colours, a caption band.
void MakePicture() {
    const std::uint8_t colours[8][3] = {{40, 140, 40}, {90, 90, 90},  {200, 180, 120},
                                        {20, 60, 200}, {30, 100, 30}, {160, 160, 160},
                                        {120, 80, 40}, {0, 0, 0}};
    auto bmp = EightBitBitmap(kWidth, kHeight, 0, [&colours](int i) {
        return i < 8 ? raster::RgbColour(colours[i][0], colours[i][1], colours[i][2]) : 0;
    });
    std::uint32_t seed = 12345;
    std::size_t at = 54 + 1024 + 48 * kWidth;  // bottom-up: the band is the first 48 rows
    while (at < bmp.size()) {
        seed = seed * 1103515245 + 12345;
        const std::size_t run = 1 + (seed >> 16) % 40;
        const auto index = static_cast<std::uint8_t>((seed >> 8) % 7);
        for (std::size_t i = 0; i < run && at < bmp.size(); ++i) bmp[at++] = index;
    }
    platform::PictureFromBitmap(1, bmp);
}

void JpegExport(benchmark::State& state) {
    MakePicture();
    app::EnterJpegEncoder();
    const std::string path = OutputPath();
    for (auto _ : state) {
        const auto saved = app::SaveImage(1, path, app::kJpegEncoderId);
        if (!saved || !*saved) state.SkipWithError(saved.reason().c_str());
    }
    std::filesystem::remove(path);
    platform::FreeSurface();
}
BENCHMARK(JpegExport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void LibjpegFloor(benchmark::State& state) {
    MakePicture();
    const raster::Picture& picture = *platform::PictureHandle(1);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(raster::RedOf(picture.pixels[i]));
        rgb[3 * i + 1] = static_cast<std::uint8_t>(raster::GreenOf(picture.pixels[i]));
        rgb[3 * i + 2] = static_cast<std::uint8_t>(raster::BlueOf(picture.pixels[i]));
    }
    const std::string path = OutputPath();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        jpeg_compress_struct info{};
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, file);
        info.image_width = kWidth;
        info.image_height = kHeight;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 70, FALSE);
        jpeg_start_compress(&info, TRUE);
        for (int y = 0; y < kHeight; ++y) {
            JSAMPROW row = &rgb[static_cast<std::size_t>(y) * kWidth * 3];
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::fclose(file);
    }
    std::filesystem::remove(path);
    platform::FreeSurface();
}
BENCHMARK(LibjpegFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
