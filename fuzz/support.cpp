#include "support.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/state.h"
#include "track/track.h"

namespace fuzzing {
namespace {

std::string ScratchDirectory() {
    const char* shm = "/dev/shm";
    const std::filesystem::path base = std::filesystem::exists(shm) ? shm : std::filesystem::temp_directory_path();
    const auto dir = base / ("ta-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

}  // namespace

platform::ScriptedWindowing& Ui() {
    static platform::ScriptedWindowing ui;
    return ui;
}

void ResetTool() {
    Ui() = platform::ScriptedWindowing{};
    platform::UseWindowing(&Ui());
    app::InitialiseState();
}

const std::string& ScratchTrackPath() {
    static const std::string path = ScratchDirectory() + "track.trk";
    return path;
}

const std::string& WriteScratchTrack(const std::uint8_t* data, std::size_t size, std::size_t padding) {
    const std::string& path = ScratchTrackPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        if (size) std::fwrite(data, 1, size, file);
        static const std::vector<char> zeros(64 * 1024, 0);
        while (padding > 0) {
            const std::size_t n = std::min(padding, zeros.size());
            std::fwrite(zeros.data(), 1, n, file);
            padding -= n;
        }
        std::fclose(file);
    }
    return path;
}

void LoadAndParseScratchTrack() {
    Ui().answers.push_back(ScratchTrackPath());
    track::LoadTrack();
    track::ParseTrack();
}

}  // namespace fuzzing
