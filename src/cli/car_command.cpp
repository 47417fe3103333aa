#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#include "app/actions.h"
#include "app/state.h"
#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "platform/encoding.h"
#include "platform/paths.h"
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

// The command line takes the car as a decimal number 0 to 6 ("+2" is 2, as
// strtol reads it). Where the input dialog is lenient, it is strict: "abc",
// "2x", "-1" or "0x3" is no car, where the dialog would read "abc" as car 0.
std::optional<int> StrictCarNumber(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const std::size_t first = text.find_first_not_of('0');
    if (first == std::string_view::npos) return 0;
    if (text.size() - first > 1 || text[first] - '0' >= track::kCarCount) return std::nullopt;
    return text[first] - '0';
}

// Runs the "Car" action with its two dialogs answered; true when the action
// recorded the car as saved.
bool RunCarAction(Session& session, int k, const std::string& output) {
    session.ui.answers = {std::to_string(k), output};
    const bool saved = session.Write(app::ExtractCar);
    session.ui.answers.clear();
    return saved;
}

// The file name the save dialog would show for car k, or "" when the car's
// name cannot be a file name.
std::string DialogName(int k) {
    return platform::DialogInitialName(app::ProposedCarName(k));
}

ExitCode WriteOneCar(Session& session, int k, const CarOptions& o) {
    std::string output = o.output;
    if (output.empty()) {
        if (DialogName(k).empty()) {
            PrintError("car " + std::to_string(k),
                       "its name \"" + platform::Cp1252ToUtf8(app::state.CarNames[k]) +
                           "\" cannot be a file name; choose one with -o");
            return kFailed;
        }
        output = app::ProposedCarName(k);
    }
    return RunCarAction(session, k, output) ? kOk : kFailed;
}

std::array<std::string, track::kCarCount> AllCarFileNames() {
    // Every name the track's own cars would get is reserved first, so that
    // a fallback never takes the name of a later car.
    std::array<std::string, track::kCarCount> own;
    std::set<std::string> reserved;
    for (int k = 0; k < track::kCarCount; ++k) {
        own[k] = DialogName(k);
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

// `out` takes the "written as" lines (standard output, by way of the batch).
ExitCode WriteAllCars(Session& session, const CarOptions& o, std::ostream& out) {
    std::string directory = o.directory.empty() ? platform::CurrentDirectory() : o.directory;
    if (directory.empty()) {
        PrintError("car --all", "the working folder no longer exists; choose a folder with -d");
        return kFailed;
    }
    if (!Worked(directory, platform::MakeFolders(directory))) return kFailed;
    directory = platform::WithSeparator(directory);
    ExitCode result = kOk;
    const auto names = AllCarFileNames();
    for (int k = 0; k < track::kCarCount; ++k) {
        if (RunCarAction(session, k, directory + names[k])) {
            out << "car " << k << ": written as " << platform::TerminalText(names[k]) << '\n';
        } else {
            result = kFailed;
        }
    }
    return result;
}

// One track's cars; with several tracks each track's go into a folder of
// its own, named after the track file.
TrackResult CarsOfTrack(const TrackInput& input, const CarOptions& o, int k, bool batch,
                        NameClaims& claims) {
    std::ostringstream errors, out;
    TrackResult result;
    {
        Session session(errors);
        session.quiet = batch;
        const ExitCode loaded = session.LoadTrack(input.path);
        if (loaded != kOk) {
            if (loaded == kRefused)
                PrintError(input.given, "not a Velocitra 1.05 track; no car written");
            result.outcome = loaded == kRefused ? Outcome::kRefused : Outcome::kFailed;
            result.err = errors.str();
            return result;
        }
        ExitCode written = kOk;
        if (!o.all) {
            written = WriteOneCar(session, k, o);
        } else if (!batch) {
            written = WriteAllCars(session, o, out);
        } else {
            std::string stem = platform::PathText(platform::FsPath(input.given).stem());
            if (stem.empty() || stem == "." || stem == "..") stem = "track";
            CarOptions inFolder = o;
            inFolder.directory =
                platform::PathText(platform::FsPath(o.directory.empty() ? "." : o.directory) /
                                   platform::FsPath(claims.Claim(stem, "")));
            out << platform::TerminalText(input.given) << ": "
                << platform::TerminalText(inFolder.directory) << '\n';
            written = WriteAllCars(session, inFolder, out);
        }
        if (written != kOk) {
            result.outcome = Outcome::kFailed;
        } else {
            result.outcome = app::state.TrackDamaged ? Outcome::kDamaged : Outcome::kWritten;
        }
    }
    result.out = out.str();
    result.err = errors.str();
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
        const std::optional<int> k = o->all ? 0 : StrictCarNumber(o->number);
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
        exitCode = RunBatch(collected->tracks, settings,
                            [&options, car, batch](const TrackInput& input, NameClaims& claims) {
                                return CarsOfTrack(input, options, car, batch, claims);
                            });
        RemoveStdinCopy();
    });
}

}  // namespace cli
