// trk render: the track picture with overlays, written to a picture file.
#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "app/state.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "export/export.h"
#include "export/jpeg_encoder.h"
#include "export/png_file.h"
#include "picture/picture.h"
#include "platform/encoding.h"
#include "platform/surface.h"
#include "platform/windowing.h"

namespace cli {
namespace {

struct RenderOptions {
    std::string track;
    std::string output;
    int quality = 0;  // 0: the tool's own 70
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
    error = "unknown picture type \"" + extension + "\"; use .png or .jpg";
    return false;
}

// JPEG goes through the "save" action itself, its save dialog answered with
// `output`, or without one with the action's own default name. The exit code
// comes from what the action recorded.
ExitCode SaveJpeg(Session& session, const std::string& output, int quality) {
    std::string answer = output;
    if (answer.empty()) {
        answer = exporter::ProposedPath(app::state.PictureName, ".jpg");
        if (platform::DialogInitialName(answer).empty()) {
            PrintError("render", "the picture's name \"" +
                                     platform::Cp1252ToUtf8(app::state.PictureName) +
                                     "\" cannot be a file name; choose one with -o");
            return kFailed;
        }
    }
    exporter::EnterJpegEncoder();
    exporter::SetJpegQualityOverride(quality);
    session.ui.answers = {answer};
    exporter::SavePicture();
    exporter::SetJpegQualityOverride(0);
    if (app::state.LastWrite == app::WriteOutcome::kSaved) return kOk;
    // A failed or refused write has said why on the status log.
    if (app::state.LastWrite == app::WriteOutcome::kNothing)
        PrintError(answer, "no picture was made");
    return kFailed;
}

bool IsJpeg(const std::string& path) {
    const std::string extension = LowerExtension(path);
    return path.empty() || extension == ".jpg" || extension == ".jpeg";
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("render", "Draw a track's picture, with overlays, to a picture file.");
    auto options = std::make_shared<RenderOptions>();
    command->add_option("TRACK", options->track, "the track file (.trk)")
        ->required()
        ->check(kNonEmptyPath);
    auto* water = command->add_flag("--water")->description(
        "draw the water (height map below the water level)");
    auto* objects = command->add_flag("--objects")->description("draw the objects");
    auto* ghost = command->add_flag("--ghost")->description("draw the ghost lap");
    command
        ->add_option("-o,--output", options->output,
                     "the picture file to write (.png, .jpg, .jpeg; default: the picture's name + "
                     ".jpg here)")
        ->check(kNonEmptyPath);
    command->add_option("--quality", options->quality, "JPEG quality (default 70)")
        ->check(CLI::Range(1, 100));
    command->footer("Overlays are drawn in the order they are given, each over the ones before.");

    command->callback([command, options, water, objects, ghost, &exitCode] {
        Session session;
        exitCode = session.LoadTrack(options->track);
        if (exitCode != kOk) return;
        // Only the picture needs the font; the other commands skip its lookup.
        picture::LoadCaptionFont();
        picture::BuildTrackPicture();
        for (const CLI::Option* given : command->parse_order()) {
            if (given == water) picture::DrawWaterOverlay();
            if (given == objects) picture::DrawObjectsOverlay();
            if (given == ghost) picture::DrawGhostOverlay();
        }
        if (IsJpeg(options->output)) {
            exitCode = SaveJpeg(session, options->output, options->quality);
            return;
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
