#include <filesystem>
#include <iostream>
#include <set>

#include "app/state.h"
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
    std::string track;
    std::string number;
    std::string output;
    std::string directory;
    bool all = false;
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
            std::cerr << "trk: car " << k << ": written as " << name << '\n';
        }
    }
    return result;
}

}  // namespace

void AddCarCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("car", "Write a car stored in a track out as a .car file.");
    auto o = std::make_shared<CarOptions>();
    command->add_option("TRACK", o->track, "the track file (.trk)")->required();
    auto* number = command->add_option(
        "NUMBER", o->number,
        "the car: 0 for the best entry's, 1 to 6 for the places ($hex and %binary too)");
    auto* output = command->add_option(
        "-o,--output", o->output, "the car file (default: the car's name + .car in this folder)");
    auto* all =
        command->add_flag("--all", o->all, "write all seven cars, each under its name + .car");
    command
        ->add_option("-d,--directory", o->directory, "the folder for --all (default: this folder)")
        ->needs(all);
    all->excludes(number)->excludes(output);
    command->callback([o, number, &exitCode] {
        if (!o->all && number->count() == 0) {
            PrintError("car", "give a car NUMBER (0 to 6) or --all");
            exitCode = kFailed;
            return;
        }
        Session session;
        const ExitCode loaded = session.LoadTrack(o->track);
        if (loaded != kOk) {
            if (loaded == kRefused)
                PrintError(o->track, "not a Velocitra 1.05 track; no car written");
            exitCode = loaded;
            return;
        }
        exitCode = o->all ? WriteAllCars(session, *o) : WriteOneCar(session, *o);
    });
}

}  // namespace cli
