#include "support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/actions.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "platform/surface.h"
#include "start/core.h"

namespace fuzzing {
namespace {

const std::string& ScratchDirectory() {
    // Never destroyed: the exit handler below still needs it.
    static const std::string* const dir = new std::string([] {
        const char* shm = "/dev/shm";
        const std::filesystem::path base =
            std::filesystem::exists(shm) ? shm : std::filesystem::temp_directory_path();
        const auto path = base / ("ta-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDirectory(), ignored);
        });
        return path.string() + "/";
    }());
    return *dir;
}

}  // namespace

platform::ScriptedWindowing& Ui() {
    static platform::ScriptedWindowing ui;
    return ui;
}

void StartTool() {
    start::StartCore(&Ui());
    start::PrepareDrawing();
}

void ResetTool() {
    Ui() = platform::ScriptedWindowing{};
    start::StartCore(&Ui());
    // An empty image makes no picture: the slot of the last input is emptied.
    platform::PictureFromBitmap(app::kTrackPicture, {});
}

std::string ScratchPath(const std::string& name) {
    return ScratchDirectory() + name;
}

const std::string& ScratchTrackPath() {
    static const std::string path = ScratchPath("track.trk");
    return path;
}

const std::string& WriteScratchTrack(const std::uint8_t* data, std::size_t size,
                                     std::size_t padding, std::span<const std::uint8_t> fill) {
    const std::string& path = ScratchTrackPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        if (size) std::fwrite(data, 1, size, file);
        static std::vector<std::uint8_t> block;
        if (padding == 0) {
            std::fclose(file);
            return path;
        }
        block.assign(std::size_t{64} * 1024, 0);
        if (!fill.empty()) {
            for (std::size_t i = 0; i < block.size(); ++i) block[i] = fill[i % fill.size()];
        }
        // Whole repeats of the fill per block, so that the pattern runs on unbroken.
        const std::size_t step =
            fill.empty() ? block.size() : block.size() / fill.size() * fill.size();
        while (padding > 0) {
            const std::size_t n = std::min(padding, step);
            std::fwrite(block.data(), 1, n, file);
            padding -= n;
        }
        std::fclose(file);
    }
    return path;
}

void LoadAndParseScratchTrack() {
    Ui().answers.push_back(ScratchTrackPath());
    app::LoadTrack();
    app::ParseTrack();
}

}  // namespace fuzzing
