// trk render: the track picture with overlays, written to a picture file.
#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "cli/commands.h"
#include "cli/session.h"
#include "export/png_file.h"
#include "picture/picture.h"
#include "platform/surface.h"

namespace cli {
namespace {

struct RenderOptions {
    std::string track;
    std::string output;
};

std::string LowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The one place that knows the picture file types; false with the reason
// when the file could not be written.
bool WritePicture(const platform::Picture& picture, const std::string& path, std::string& error) {
    const std::string extension = LowerExtension(path);
    if (extension == ".png") return exporter::WritePng(picture, path, error);
    error = "unknown picture type \"" + extension + "\"; use .png";
    return false;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("render", "Draw a track's picture, with overlays, to a picture file.");
    auto options = std::make_shared<RenderOptions>();
    command->add_option("TRACK", options->track, "the track file (.trk)")->required();
    auto* water = command->add_flag("--water")->description(
        "draw the water (height map below the water level)");
    auto* objects = command->add_flag("--objects")->description("draw the objects");
    auto* ghost = command->add_flag("--ghost")->description("draw the ghost lap");
    command->add_option("-o,--output", options->output, "the picture file to write (.png)");
    command->footer("Overlays are drawn in the order they are given, each over the ones before.");

    command->callback([command, options, water, objects, ghost, &exitCode] {
        if (options->output.empty()) {
            PrintError("render", "no output file given (-o OUT.png)");
            exitCode = kFailed;
            return;
        }
        Session session;
        exitCode = session.LoadTrack(options->track);
        if (exitCode != kOk) return;
        picture::BuildTrackPicture();
        for (const CLI::Option* given : command->parse_order()) {
            if (given == water) picture::DrawWaterOverlay();
            if (given == objects) picture::DrawObjectsOverlay();
            if (given == ghost) picture::DrawGhostOverlay();
        }
        const platform::PictureRef shown = platform::PictureHandle(picture::kTrackPicture);
        std::string error = "no picture was made";
        if (shown == nullptr || !WritePicture(*shown, options->output, error)) {
            PrintError(options->output, error);
            exitCode = kFailed;
        }
    });
}

}  // namespace cli
