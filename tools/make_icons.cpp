// Writes the program's icon as the PNG files of data/icons/, at every size
// the desktop asks for, from the same drawing the window carries:
//   make_icons DATA-ICONS-FOLDER
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/fltk/app_icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_icons DATA-ICONS-FOLDER\n", stderr);
        return 1;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / name;
        std::filesystem::create_directories(folder);
        const auto pixels = platform::fltk::RenderAppIcon(size);
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(size);
        image.height = static_cast<png_uint_32>(size);
        image.format = PNG_FORMAT_RGBA;
        const std::string path = (folder / "track-analyse.png").string();
        if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
            std::fprintf(stderr, "make_icons: %s: %s\n", path.c_str(), image.message);
            return 1;
        }
    }
    return 0;
}
