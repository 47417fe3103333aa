// trk lap: place 1's lap from the ghost frames, as a summary, a CSV table
// of the frames or one JSON object.
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/commands.h"
#include "cli/lap_tracks.h"
#include "cli/table.h"
#include "platform/encoding.h"

namespace cli {
namespace {

// Raised when a field changes meaning or goes; new fields keep it.
constexpr int kLapSchema = 1;

struct LapOptions {
    std::string track;
    bool csv = false;
    bool json = false;
};

std::string Seconds(double s) {
    return Fixed(s, 2) + " s";
}

// "at frame 12 (3.00 s), picture 200, 41"
std::string Where(const lap::Sample& s) {
    return "at frame " + std::to_string(s.frame) + " (" + Seconds(s.time) + "), picture " +
           std::to_string(s.column) + ", " + std::to_string(s.row);
}

std::string SummaryText(const LapTrack& t) {
    const lap::Lap& lap = t.lap;
    const lap::Summary s = lap::Summarise(lap);
    std::ostringstream out;
    out << "lap time       " << Seconds(lap.lapTime / 100.0) << " by "
        << platform::TerminalTextFromCp1252(t.track.results[1].driver) << '\n'
        << "frames         " << lap.frameCount << ", one every " << Fixed(lap.frameStep, 3) << " s";
    if (!lap.Whole()) out << " (the file ends after " << lap.samples.size() << ")";
    out << '\n'
        << "length         " << Fixed(lap.Length(), 0) << " units\n"
        << "average speed  " << Fixed(s.averageSpeed, 0) << " units/s\n"
        << "top speed      " << Fixed(s.top.speed, 0) << " units/s " << Where(s.top) << '\n';
    if (s.slowest)
        out << "slowest point  " << Fixed(s.slowest->speed, 0) << " units/s " << Where(*s.slowest)
            << '\n';
    out << "sectors        " << Seconds(s.sectors[0]) << ", " << Seconds(s.sectors[1]) << ", "
        << Seconds(s.sectors[2]) << " (thirds of the length)\n";
    return out.str();
}

std::string FramesCsv(const lap::Lap& lap) {
    std::string out =
        CsvRecord({"frame", "time_s", "x", "y", "column", "row", "distance", "speed"});
    for (const lap::Sample& s : lap.samples) {
        out += CsvRecord({std::to_string(s.frame), Fixed(s.time, 3), std::to_string(s.x),
                          std::to_string(s.y), std::to_string(s.column), std::to_string(s.row),
                          Fixed(s.distance, 1), Fixed(s.speed, 1)});
    }
    return out;
}

double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

std::string LapJson(const LapTrack& t, const std::string& file) {
    const lap::Lap& lap = t.lap;
    const lap::Summary s = lap::Summarise(lap);
    nlohmann::json samples = nlohmann::json::array();
    for (const lap::Sample& f : lap.samples) {
        samples.push_back({{"frame", f.frame},
                           {"time_s", Rounded(f.time, 3)},
                           {"x", f.x},
                           {"y", f.y},
                           {"column", f.column},
                           {"row", f.row},
                           {"distance", Rounded(f.distance, 1)},
                           {"speed", Rounded(f.speed, 1)}});
    }
    nlohmann::json sectors = nlohmann::json::array();
    for (const double sector : s.sectors) sectors.push_back(Rounded(sector, 3));
    const nlohmann::json object = {{"schema", kLapSchema},
                                   {"file", ValidUtf8(file)},
                                   {"lap_time", lap.lapTime},
                                   {"frame_count", lap.frameCount},
                                   {"frame_step_s", Rounded(lap.frameStep, 6)},
                                   {"length", Rounded(lap.Length(), 1)},
                                   {"average_speed", Rounded(s.averageSpeed, 1)},
                                   {"top_speed", Rounded(s.top.speed, 1)},
                                   {"top_frame", s.top.frame},
                                   {"sectors_s", sectors},
                                   {"samples", samples}};
    return object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

void AddLapCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "lap", "Tell place 1's lap from the ghost frames: its speeds, sectors and frames.");
    auto o = std::make_shared<LapOptions>();
    command->add_option("TRACK", o->track, "a track file (.trk)")->required()->check(kNonEmptyPath);
    auto* json = command->add_flag("--json", o->json, "one JSON object, the frames in it");
    command->add_flag("--csv", o->csv, "a CSV table: a header and a row for each frame")
        ->excludes(json);
    command->footer(std::string(kLapModelHelp) +
                    "\nThe sectors are the times to drive each third of the lap's length.\n\n" +
                    kExitCodesHelp +
                    "\n\nExamples:\n"
                    "  trk lap monza.trk\n"
                    "  trk lap --csv monza.trk > monza-lap.csv");
    command->callback([o, &exitCode] {
        const std::optional<LapTrack> t = ReadLapTrack(o->track, exitCode);
        if (!t) return;
        if (o->csv) {
            std::cout << FramesCsv(t->lap);
        } else if (o->json) {
            std::cout << LapJson(*t, o->track);
        } else {
            std::cout << SummaryText(*t);
        }
    });
}

}  // namespace cli
