// trk car: the cars stored in tracks, written out as car files.
#include <array>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#include "bytes/number_text.h"
#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/load.h"
#include "cli/messages.h"
#include "export/car_file.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
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

// The car as the input dialog reads its number (bytes::ReadNumber: "+2",
// "$6" and "%110" too), but only when that takes the whole argument, from
// its first character, and gives 0 to 6: " 2", "abc", "2x", "-1", "7" or
// "0x3" is no car, where the dialog would read "abc" as car 0 and "2x" as
// car 2.
std::optional<int> CarNumberArgument(std::string_view text) {
    const bytes::NumberText number = bytes::ReadNumber(text);
    if (!number.digits || !number.exact || number.negative || number.length != text.size() ||
        text.starts_with(' ') || text.starts_with('\t') || number.magnitude >= track::kCarCount)
        return std::nullopt;
    return static_cast<int>(number.magnitude);
}

// The file name the save dialog would show for car k, or "" when the car's
// name cannot be a file name.
std::string DialogName(const track::Track& t, int k) {
    return platform::DialogInitialName(platform::ProposedPath(t.results[k].car, ".car"));
}

// Writes car k to `path`, as the "Car" action does; the status line tells
// what went well, or why not.
bool WriteCar(const LoadedTrack& loaded, int k, const std::string& path, Report& report) {
    const platform::Result<std::vector<std::uint8_t>> car = exporter::CarFile(loaded.track, k);
    if (!car) {
        report.Status(exporter::CarNotSavedStatus(car.reason()));
        return false;
    }
    if (!report.Worked(path, platform::WriteFileSafely(path, *car, loaded.identity))) return false;
    report.Tell(exporter::CarSavedStatus(loaded.track.results[k].car));
    return true;
}

bool WriteOneCar(const LoadedTrack& loaded, int k, const CarOptions& o, Report& report) {
    std::string output = o.output;
    if (output.empty()) {
        if (DialogName(loaded.track, k).empty()) {
            report.Failure("car " + std::to_string(k),
                           "its name \"" + platform::Cp1252ToUtf8(loaded.track.results[k].car) +
                               "\" cannot be a file name; choose one with -o");
            return false;
        }
        output = platform::ProposedPath(loaded.track.results[k].car, ".car");
    }
    return WriteCar(loaded, k, output, report);
}

std::array<std::string, track::kCarCount> AllCarFileNames(const track::Track& t) {
    // Every name the track's own cars would get is reserved first, so that
    // a fallback never takes the name of a later car.
    std::array<std::string, track::kCarCount> own;
    std::set<std::string> reserved;
    for (int k = 0; k < track::kCarCount; ++k) {
        own[k] = DialogName(t, k);
        if (own[k] == ".car") own[k].clear();
        if (!own[k].empty()) reserved.insert(own[k]);
    }
    std::array<std::string, track::kCarCount> names;
    std::set<std::string> used;
    for (int k = 0; k < track::kCarCount; ++k) {
        // Places often share a car: a name written once already, an empty
        // one, or one that cannot be a file name gets the car's number instead.
        std::string name = own[k];
        if (name.empty() || used.contains(name)) {
            const std::string stem = "car" + std::to_string(k);
            name = stem + ".car";
            for (int n = 2; used.contains(name) || reserved.contains(name); ++n)
                name = stem + "-" + std::to_string(n) + ".car";
        }
        used.insert(name);
        names[k] = name;
    }
    return names;
}

// All seven cars into `folder` (empty: the working folder); `out` takes the
// "written as" lines (standard output, by way of the batch).
bool WriteAllCars(const LoadedTrack& loaded, std::string folder, std::ostream& out,
                  Report& report) {
    if (folder.empty()) folder = platform::CurrentDirectory();
    if (folder.empty()) {
        report.Failure("car --all", "the working folder no longer exists; choose a folder with -d");
        return false;
    }
    if (!report.Worked(folder, platform::MakeFolders(folder))) return false;
    folder = platform::WithSeparator(folder);
    bool all = true;
    const auto names = AllCarFileNames(loaded.track);
    for (int k = 0; k < track::kCarCount; ++k) {
        if (WriteCar(loaded, k, folder + names[k], report)) {
            out << "car " << k << ": written as " << platform::TerminalText(names[k]) << '\n';
        } else {
            all = false;
        }
    }
    return all;
}

// One track's cars; with several tracks each track's go into a folder of
// its own, named after the track file.
TrackResult CarsOfTrack(const TrackInput& input, const CarOptions& o, int k, bool batch,
                        NameClaims& claims, Workspace& space) {
    Report report(batch);
    TrackResult result;
    const std::optional<LoadedTrack> loaded = LoadTrack(input, space, report);
    if (!loaded || loaded->track.Refused()) {
        if (loaded) report.Failure(input.given, "not a Velocitra 1.05 track; no car written");
        result.outcome = loaded ? Outcome::kRefused : Outcome::kFailed;
        result.err = report.Take();
        return result;
    }
    std::ostringstream out;
    bool written = false;
    if (!o.all) {
        written = WriteOneCar(*loaded, k, o, report);
    } else if (!batch) {
        written = WriteAllCars(*loaded, o.directory, out, report);
    } else {
        std::string stem = platform::PathText(platform::FsPath(input.given).stem());
        if (stem.empty() || stem == "." || stem == "..") stem = "track";
        const std::string folder =
            platform::PathText(platform::FsPath(o.directory.empty() ? "." : o.directory) /
                               platform::FsPath(claims.Claim(stem, "")));
        out << platform::TerminalText(input.given) << ": " << platform::TerminalText(folder)
            << '\n';
        written = WriteAllCars(*loaded, folder, out, report);
    }
    result.outcome = !written                ? Outcome::kFailed
                     : loaded->track.damaged ? Outcome::kDamaged
                                             : Outcome::kWritten;
    result.out = out.str();
    result.err = report.Take();
    return result;
}

}  // namespace

void AddCarCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("car",
                                       "Write cars stored in tracks out as .car files: one car of "
                                       "a track, or with --all every car of any number of tracks.");
    auto o = std::make_shared<CarOptions>();
    command
        ->add_option("TRACK", o->arguments,
                     "a track file (.trk) and the car to write: 0 for the best entry's, 1 to 6 "
                     "for the places'; with --all: track files, folders of them, or - (standard "
                     "input)")
        ->option_text("TRACK NUMBER")
        ->required()
        ->check(kNonEmptyPath);
    auto* output = command
                       ->add_option("-o,--output", o->output,
                                    "the car file (default: the car's name + .car, here)")
                       ->option_text("FILE")
                       ->check(kNonEmptyPath);
    auto* all = command->add_flag(
        "--all", o->all,
        "write all seven cars, each as its name + .car; of several tracks, each track's into "
        "DIR/<track file name>/");
    command->add_option("-d,--directory", o->directory, "the folder for --all (default: here)")
        ->option_text("DIR")
        ->check(kNonEmptyPath)
        ->needs(all);
    command
        ->add_flag("-r,--recursive", o->recursive, "with --all: take the tracks in subfolders too")
        ->needs(all);
    command
        ->add_option("-j,--jobs", o->jobs,
                     "with --all: work on N tracks at a time (default: one per core)")
        ->option_text("N")
        ->check(WholeNumber(1, 256));
    all->excludes(output);
    command->footer(std::string("A car whose name is empty, not a file name, or written already in "
                                "this run is\nwritten as car<NUMBER>.car.\n\n") +
                    kExitCodesHelp +
                    "\n\nExamples:\n"
                    "  trk car monza.trk 1                  place 1's car, as <its name>.car\n"
                    "  trk car monza.trk 0 -o best.car      the best entry's car, as best.car\n"
                    "  trk car --all tracks/ -d cars/       every car of every track in tracks/");
    command->callback([o, &exitCode] {
        std::vector<std::string> tracks = o->arguments;
        if (!o->all) {
            if (tracks.size() != 2) {
                StopCommand("car",
                            tracks.size() < 2 ? "give a car NUMBER (0 to 6) or --all"
                                              : "one TRACK and one car NUMBER, or --all",
                            exitCode);
                return;
            }
            o->number = tracks.back();
            tracks.pop_back();
        }
        const std::optional<int> k = o->all ? 0 : CarNumberArgument(o->number);
        if (!k) {
            StopCommand("car " + o->number,
                        "no such car; the number must be 0 (the best entry's) or 1 to 6 (the "
                        "places')",
                        exitCode);
            return;
        }
        const platform::Result<CollectedTracks> collected = CollectTracks(tracks, o->recursive);
        if (StopsAt(collected, "car", exitCode)) return;
        if (!o->all && collected->batch) {
            StopCommand("car", "a car NUMBER takes one track; use --all for several", exitCode);
            return;
        }
        BatchSettings settings;
        settings.jobs = o->jobs;
        settings.batch = collected->batch;
        const bool batch = collected->batch;
        const CarOptions& options = *o;
        const int car = *k;
        exitCode = RunBatch(
            collected->tracks, settings,
            [&options, car, batch](const TrackInput& input, NameClaims& claims, Workspace& space) {
                return CarsOfTrack(input, options, car, batch, claims, space);
            });
    });
}

}  // namespace cli
