#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "app/state.h"
#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "export/car_file.h"
#include "export/export.h"
#include "platform/encoding.h"
#include "platform/windowing.h"
#include "track/layout.h"

namespace cli {
namespace {

struct CarOptions {
    std::vector<std::string> arguments;  // TRACK NUMBER, or with --all TRACK...
    std::string number;
    std::string output;
    std::string directory;
    bool all = false;
    bool recursive = false;
    int jobs = 0;
};

// Runs the "Car" action with its two dialogs answered; true when the action
// reported the car saved.
bool RunCarAction(Session& session, const std::string& number, const std::string& output, int k) {
    session.ui.answers = {number, output};
    session.newestStatusLine.clear();
    exporter::ExtractCar();
    session.ui.answers.clear();
    return session.newestStatusLine == app::state.CarNames[k] + " saved";
}

// The file name the save dialog would show for car k, or "" when the car's
// name cannot be a file name.
std::string DialogName(int k) {
    return platform::DialogInitialName(exporter::ProposedCarName(k));
}

ExitCode WriteOneCar(Session& session, const CarOptions& o) {
    const std::int32_t k = exporter::ReadCarNumber(o.number);
    if (k < 0 || k >= track::kCarCount) {
        PrintError("car " + o.number, "no such car; the number must be 0 (best) or 1 to 6");
        return kFailed;
    }
    std::string output = o.output;
    if (output.empty()) {
        if (DialogName(k).empty()) {
            PrintError("car " + std::to_string(k),
                       "its name \"" + platform::Cp1252ToUtf8(app::state.CarNames[k]) +
                           "\" cannot be a file name; choose one with -o");
            return kFailed;
        }
        output = exporter::ProposedCarName(k);
    }
    return RunCarAction(session, o.number, output, k) ? kOk : kFailed;
}

ExitCode WriteAllCars(Session& session, const CarOptions& o) {
    std::string directory = o.directory.empty() ? platform::CurrentDirectory() : o.directory;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        PrintError(directory, error.message());
        return kFailed;
    }
    if (directory.back() != platform::kPathSeparator) directory += platform::kPathSeparator;
    ExitCode result = kOk;
    std::set<std::string> used;
    for (int k = 0; k < track::kCarCount; ++k) {
        // Places often share a car: a name written once already, an empty
        // one, or one that cannot be a file name gets the car's number instead.
        std::string name = DialogName(k);
        bool renamed = false;
        if (name.empty() || name == ".car" || !used.insert(name).second) {
            name = "car" + std::to_string(k) + ".car";
            used.insert(name);
            renamed = true;
        }
        if (!RunCarAction(session, std::to_string(k), directory + name, k)) {
            result = kFailed;
        } else if (renamed) {
            ErrorStream() << "trk: car " << k << ": written as " << name << '\n';
        }
    }
    return result;
}

// One track's cars; with several tracks each track's go into a folder of
// its own, named after the track file.
TrackResult CarsOfTrack(const TrackInput& input, const CarOptions& o, bool batch,
                        NameClaims& claims) {
    std::ostringstream errors;
    TrackResult result;
    {
        Session session(errors);
        const ExitCode loaded = session.LoadTrack(input.path, input.given);
        if (loaded != kOk) {
            if (loaded == kRefused)
                PrintError(input.given, "not a Velocitra 1.05 track; no car written");
            result.outcome = loaded == kRefused ? Outcome::kRefused : Outcome::kFailed;
            result.err = errors.str();
            return result;
        }
        ExitCode written = kOk;
        if (!o.all) {
            written = WriteOneCar(session, o);
        } else if (!batch) {
            written = WriteAllCars(session, o);
        } else {
            std::string stem = std::filesystem::path(input.given).stem().string();
            if (stem.empty() || stem == "." || stem == "..") stem = "track";
            CarOptions inFolder = o;
            inFolder.directory = (std::filesystem::path(o.directory.empty() ? "." : o.directory) /
                                  claims.Claim(stem, ""))
                                     .string();
            written = WriteAllCars(session, inFolder);
        }
        if (written != kOk) {
            result.outcome = Outcome::kFailed;
        } else {
            result.outcome = app::state.TrackDamaged ? Outcome::kDamaged : Outcome::kWritten;
        }
    }
    result.err = errors.str();
    return result;
}

}  // namespace

void AddCarCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("car", "Write cars stored in tracks out as .car files.");
    auto o = std::make_shared<CarOptions>();
    command
        ->add_option("TRACK", o->arguments,
                     "TRACK NUMBER: the track file (.trk) and the car: 0 for the best entry's, "
                     "1 to 6 for the places ($hex and %binary too); with --all: track files, "
                     "folders of them, or - (stdin)")
        ->required();
    auto* output = command->add_option(
        "-o,--output", o->output, "the car file (default: the car's name + .car in this folder)");
    auto* all = command->add_flag(
        "--all", o->all,
        "write all seven cars, each under its name + .car; with several tracks, each track's "
        "into DIR/<track name>/");
    command
        ->add_option("-d,--directory", o->directory, "the folder for --all (default: this folder)")
        ->needs(all);
    command->add_flag("-r,--recursive", o->recursive, "take the tracks in subfolders too")
        ->needs(all);
    command->add_option("-j,--jobs", o->jobs, "workers (default: one per core)")
        ->check(CLI::Range(1, 256));
    all->excludes(output);
    command->callback([o, &exitCode] {
        std::vector<std::string> tracks = o->arguments;
        if (!o->all) {
            if (tracks.size() != 2) {
                PrintError("car", tracks.size() < 2 ? "give a car NUMBER (0 to 6) or --all"
                                                    : "one TRACK and one car NUMBER, or --all");
                exitCode = kFailed;
                return;
            }
            o->number = tracks.back();
            tracks.pop_back();
        }
        const CollectedTracks collected = CollectTracks(tracks, o->recursive);
        std::string problem = collected.error;
        if (problem.empty() && !o->all && collected.batch)
            problem = "a car NUMBER takes one track; use --all for several";
        if (!problem.empty()) {
            PrintError("car", problem);
            RemoveStdinCopy();
            exitCode = kFailed;
            return;
        }
        BatchSettings settings;
        settings.jobs = o->jobs;
        settings.batch = collected.batch;
        const bool batch = collected.batch;
        const CarOptions& options = *o;
        exitCode = RunBatch(collected.tracks, settings,
                            [&options, batch](const TrackInput& input, NameClaims& claims) {
                                return CarsOfTrack(input, options, batch, claims);
                            });
        RemoveStdinCopy();
    });
}

}  // namespace cli
