// trk render: track pictures with overlays, written to picture files.
#include <memory>
#include <optional>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/load.h"
#include "cli/messages.h"
#include "export/image_file.h"
#include "picture/picture.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/temporaries.h"
#include "raster/scaling.h"

namespace cli {
namespace {

enum class Overlay { kWater, kObjects, kGhost, kGhostSpeed };

struct RenderOptions {
    std::vector<std::string> tracks;
    std::string output;
    std::string directory;
    std::string format;  // "jpg" or "png"; empty: from -o, else jpg
    int quality = 0;     // 0: the tool's own, exporter::kJpegQuality
    int size = 0;        // 0: the picture's own size
    bool recursive = false;
    int jobs = 0;
    std::vector<Overlay> overlays;  // in the order given
};

bool IsJpegName(const std::string& path) {
    const std::string extension = platform::LowerExtension(path);
    return extension == ".jpg" || extension == ".jpeg";
}

// The picture of one track to a file: the one -o names, else one named as
// the caption reads, in the working folder.
bool SavePicture(const raster::Picture& picture, const exporter::Encoding& encoding,
                 const RenderOptions& o, const LoadedTrack& loaded, const std::string& pictureName,
                 Report& report) {
    const bool png = encoding.kind == exporter::Encoding::Kind::kPng;
    std::string path = o.output;
    if (path.empty()) {
        path = platform::ProposedPath(pictureName, png ? ".png" : ".jpg");
        if (platform::DialogInitialName(path).empty()) {
            report.Failure("render", "the picture's name \"" + platform::Cp1252ToUtf8(pictureName) +
                                         "\" cannot be a file name; choose one with -o");
            return false;
        }
    }
    if (!report.Worked(path, exporter::SaveImageFile(path, picture, encoding, loaded.identity)))
        return false;
    report.Tell(exporter::kImageSavedStatus);
    return true;
}

TrackResult RenderTrack(const TrackInput& input, const RenderOptions& o, bool png,
                        Workspace& space) {
    // Into a folder the summary tells what became of the track: a track
    // that failed tells only why, not its picture's name.
    Report report(!o.directory.empty());
    TrackResult result;
    const std::optional<LoadedTrack> loaded = LoadTrack(input, space, report);
    if (!loaded || loaded->track.Refused()) {
        result.outcome = loaded ? Outcome::kRefused : Outcome::kFailed;
        result.err = report.Take();
        return result;
    }
    const track::Track& t = loaded->track;
    const picture::Caption caption = picture::CaptionFor(t, picture::TrackName(loaded->fileName));
    raster::Picture& built = space.picture;
    picture::BuildPicture(t, caption, picture::CaptionFont(), space.ImageRoom(), built);
    report.Tell(caption.pictureName);
    for (const Overlay overlay : o.overlays) {
        switch (overlay) {
            case Overlay::kWater:
                picture::DrawWater(built, t);
                break;
            case Overlay::kObjects:
                picture::DrawObjects(built, t);
                break;
            case Overlay::kGhost:
                if (!picture::DrawGhost(built, t)) report.Tell(picture::kNoGhostStatus);
                break;
            case Overlay::kGhostSpeed:
                // A track without a lap keeps its picture, and says so.
                if (!picture::DrawGhostSpeed(built, t, picture::CaptionFont()))
                    report.Failure(input.given, "no ghost lap");
                break;
        }
    }
    std::optional<raster::Picture> scaled;
    if (o.size > 0) scaled = raster::ScaledToFit(built, o.size);
    const raster::Picture& shown = scaled ? *scaled : built;
    const exporter::Encoding encoding =
        png ? exporter::kPng : exporter::Jpeg(o.quality > 0 ? o.quality : exporter::kJpegQuality);
    bool written = false;
    if (o.size > 0 && !scaled) {
        report.Failure(input.given, "the picture could not be scaled");
    } else if (o.output == "-") {
        platform::Result<std::string> bytes = exporter::ImageBytes(shown, encoding);
        written = report.Worked("-", bytes);
        if (written) result.out = std::move(*bytes);
    } else if (!o.directory.empty()) {
        // Written under a name of its own; its own name, numbered when an
        // earlier track took it, is given once the tracks before it have
        // theirs. Messages name the picture as wanted.
        const std::string stem = FileStem(caption.pictureName);
        const std::string extension = png ? ".png" : ".jpg";
        const platform::Result<std::string> file =
            platform::WriteUnnamed(o.directory, exporter::ImageWriter(shown, encoding));
        written = report.Worked(
            platform::PathText(platform::FsPath(o.directory) / platform::FsPath(stem + extension)),
            file);
        if (written) result.file = {*file, o.directory, stem, extension, loaded->identity};
    } else {
        written = SavePicture(shown, encoding, o, *loaded, caption.pictureName, report);
    }
    if (!written) {
        result.outcome = Outcome::kFailed;
    } else {
        result.outcome = t.damaged ? Outcome::kDamaged : Outcome::kWritten;
    }
    result.err = report.Take();
    return result;
}

// Checks the options against each other; whether the pictures are PNG
// when they go together.
platform::Result<bool> PngWanted(const RenderOptions& o, bool batch) {
    if (!o.output.empty() && !o.directory.empty()) return platform::Fail("give -o or -d, not both");
    if (batch && !o.output.empty())
        return platform::Fail("-o names one picture; give -d OUTDIR for several tracks");
    bool png = o.format == "png";
    if (!o.output.empty() && o.output != "-") {
        const std::string extension = platform::LowerExtension(o.output);
        const bool jpegName = IsJpegName(o.output);
        if (!jpegName && extension != ".png")
            return platform::Fail("unknown picture type \"" + extension + "\" of " + o.output +
                                  "; use .png or .jpg");
        if (!o.format.empty() && (o.format == "png") != (extension == ".png"))
            return platform::Fail("--format " + o.format + " does not match " + o.output);
        png = extension == ".png";
    }
    if (png && o.quality != 0) return platform::Fail("--quality is for JPEG pictures only");
    return png;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("render", "Draw track pictures, with overlays, to picture files.");
    auto o = std::make_shared<RenderOptions>();
    command
        ->add_option("TRACK", o->tracks,
                     "track files (.trk), folders of them, or - (a track on standard input)")
        ->option_text("TRACK...")
        ->required()
        ->check(kNonEmptyPath);
    auto* water = command->add_flag("--water")->description(
        "draw the water (the map below the track's water level)");
    auto* objects = command->add_flag("--objects")->description("draw the objects");
    auto* ghost = command->add_flag("--ghost")->description("draw the ghost lap");
    auto* ghostSpeed = command->add_flag("--ghost-speed")
                           ->description(
                               "draw the ghost lap as a line coloured by its speed, "
                               "with a key from slow to fast");
    command
        ->add_option("-o,--output", o->output,
                     "the picture of one track: a .png, .jpg or .jpeg file, or - for standard "
                     "output")
        ->option_text("FILE")
        ->check(kNonEmptyPath);
    command
        ->add_option("-d,--directory", o->directory,
                     "the folder for the pictures, made when missing")
        ->option_text("DIR")
        ->check(kNonEmptyPath);
    command->add_option("--format", o->format, "the picture type for -d and -o - (default jpg)")
        ->option_text("jpg|png")
        ->check(CLI::IsMember({"jpg", "png"}));
    command->add_option("--quality", o->quality, "JPEG quality, 1 to 100 (default 70)")
        ->option_text("N")
        ->check(WholeNumber(1, 100));
    command
        ->add_option("--size", o->size,
                     "scale the picture to fit N x N pixels, smaller or larger (N up to " +
                         std::to_string(raster::kMaxScaledSide) + ")")
        ->option_text("N")
        ->check(WholeNumber(1, raster::kMaxScaledSide));
    command->add_flag("-r,--recursive", o->recursive, "take the tracks in subfolders too");
    command->add_option("-j,--jobs", o->jobs, "draw N tracks at a time (default: one per core)")
        ->option_text("N")
        ->check(WholeNumber(1, 256));
    command->footer(
        std::string(
            "A picture is named as its caption reads: the track file's name without .trk,\n"
            "place 1's time in hundredths of a second (the best entry's when place 1 has\n"
            "none) and that driver, as in monza_4321_Ann.jpg. Without -o it goes by that\n"
            "name into the folder of -d, or here; a name already written in the same run\n"
            "gets -2, -3, ... before the extension. Overlays are drawn in the order given,\n"
            "each over the ones before. --ghost-speed colours place 1's lap by its speed in\n"
            "ghost units per second: the frames are equally spaced in time over place 1's\n"
            "time, and the speed at a frame is the distance from the frame before.\n\n") +
        kExitCodesHelp +
        "\n\nExamples:\n"
        "  trk render monza.trk                          monza_4321_Ann.jpg, here\n"
        "  trk render monza.trk --water --ghost -o monza.png\n"
        "  trk render tracks/ -r --objects -d pictures/  a picture for every track\n"
        "  trk render monza.trk --size 128 -o thumb.png  a 117 x 128 thumbnail\n"
        "  trk render - -o - < monza.trk > monza.jpg");

    command->callback([command, o, water, objects, ghost, ghostSpeed, &exitCode] {
        for (const CLI::Option* given : command->parse_order()) {
            if (given == water) o->overlays.push_back(Overlay::kWater);
            if (given == objects) o->overlays.push_back(Overlay::kObjects);
            if (given == ghost) o->overlays.push_back(Overlay::kGhost);
            if (given == ghostSpeed) o->overlays.push_back(Overlay::kGhostSpeed);
        }
        const platform::Result<CollectedTracks> collected = CollectTracks(o->tracks, o->recursive);
        if (StopsAt(collected, "render", exitCode)) return;
        const platform::Result<bool> png = PngWanted(*o, collected->batch);
        if (StopsAt(png, "render", exitCode)) return;
        // Several tracks without a folder go into this one.
        if (collected->batch && o->directory.empty()) o->directory = ".";
        if (!o->directory.empty()) {
            if (StopsAt(platform::MakeFolders(o->directory), o->directory, exitCode)) return;
            platform::TidyTemporaries(o->directory);
        }
        BatchSettings settings;
        settings.jobs = o->jobs;
        // A run into a folder (every run of several tracks is one), even of
        // one track, says in its summary what became of it: no message names
        // the files it writes.
        settings.batch = !o->directory.empty();
        const RenderOptions& options = *o;
        exitCode = RunBatch(
            collected->tracks, settings,
            [&options, png = *png](const TrackInput& input, NameClaims&, Workspace& space) {
                return RenderTrack(input, options, png, space);
            });
    });
}

}  // namespace cli
