// The floor of a batch: bare libjpeg compressing the very rows trk wrote,
// at quality 70, to files, one process, nothing else. Reads the PNG pictures
// in a folder (trk render --format png -d DIR), keeps their RGB rows in
// memory, then compresses every picture `rounds` times and prints the CPU
// and wall time per picture. With START (seconds since 1970), the compressing
// waits until then, so that floors started together compress together.
//   jpeg_floor PNG_DIR OUT_DIR [rounds [START]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// jpeglib.h needs stdio's FILE and size_t first.
#include <jpeglib.h>
#include <png.h>

namespace {

struct Rows {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool ReadPng(const std::string& path, Rows& rows) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rows.rgb.resize(PNG_IMAGE_SIZE(image));
    rows.width = static_cast<int>(image.width);
    rows.height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, rows.rgb.data(), 0, nullptr) != 0;
}

void Compress(const Rows& rows, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(rows.width);
    info.image_height = static_cast<JDIMENSION>(rows.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 70, FALSE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < rows.height; ++y) {
        JSAMPROW row =
            const_cast<unsigned char*>(&rows.rgb[static_cast<std::size_t>(y) * rows.width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: jpeg_floor PNG_DIR OUT_DIR [rounds [START]]\n");
        return 1;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.path().extension() == ".png") names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    std::vector<Rows> pictures(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!ReadPng(names[i].string(), pictures[i])) {
            std::fprintf(stderr, "jpeg_floor: cannot read %s\n", names[i].c_str());
            return 1;
        }
    }
    std::filesystem::create_directories(argv[2]);
    if (argc > 4) {
        const std::chrono::system_clock::time_point start{
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::duration<double>(std::atof(argv[4])))};
        std::this_thread::sleep_until(start);
    }
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < pictures.size(); ++i)
            Compress(pictures[i], (std::filesystem::path(argv[2]) / names[i].filename())
                                      .replace_extension(".jpg")
                                      .string());
    const double cpu = CpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double count = static_cast<double>(pictures.size()) * rounds;
    std::printf("%zu pictures x %d: %.3f ms CPU, %.3f ms wall per picture\n", pictures.size(),
                rounds, 1000 * cpu / count, 1000 * wall / count);
    return 0;
}
