#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/load.h"
#include "cli/table.h"
#include "platform/encoding.h"

namespace cli {
namespace {

// Raised when a field changes meaning or goes; new fields keep it.
constexpr int kInfoSchema = 1;

std::string Text(const std::string& cp1252) {
    return platform::Cp1252ToUtf8(cp1252);
}

std::string CsvCp1252(const std::string& cp1252) {
    return CsvText(Text(cp1252));
}

nlohmann::json InfoJson(const LoadedTrack& loaded, const std::string& file) {
    const track::Track& t = loaded.track;
    nlohmann::json places = nlohmann::json::array();
    for (int p = 1; p <= 6; ++p) {
        places.push_back({{"place", p},
                          {"name", Text(t.results[p].driver)},
                          {"time", t.results[p].time},
                          {"car", Text(t.results[p].car)}});
    }
    return {{"schema", kInfoSchema},
            {"file", ValidUtf8(file)},
            {"file_size", loaded.size},
            {"version", "1.05"},
            {"world_size", t.worldSize},
            {"water_level", t.waterLevel},
            {"angle", t.angle},
            {"rotation", t.rotation},
            {"zoom", t.zoom},
            {"start_finish_line", t.startFinishLine},
            {"landmap_bytes", 2 * std::int64_t{t.landmapCount}},
            {"object_count", t.objectCount},
            {"track_length", t.trackLength},
            {"author", Text(t.author)},
            {"best",
             {{"name", Text(t.results[0].driver)},
              {"time", t.results[0].time},
              {"car", Text(t.results[0].car)}}},
            {"places", places},
            {"record_date", Text(t.recordDate)},
            {"ghost_frames", t.ghostFrameCount},
            {"damaged", t.damaged}};
}

std::vector<std::string> CsvHeader() {
    std::vector<std::string> names = {"file",        "author",       "world_size",
                                      "water_level", "track_length", "objects",
                                      "best_time",   "best_driver",  "best_car"};
    for (int p = 1; p <= 6; ++p) {
        names.push_back("place" + std::to_string(p) + "_time");
        names.push_back("place" + std::to_string(p) + "_driver");
    }
    for (const char* name : {"ghost_frames", "date", "damaged"}) names.emplace_back(name);
    return names;
}

std::vector<std::string> CsvRow(const track::Track& t, const std::string& file) {
    const auto number = [](std::int64_t value) { return std::to_string(value); };
    const track::Result& best = t.results[0];
    std::vector<std::string> row = {
        CsvText(file),        CsvCp1252(t.author),    number(t.worldSize),
        number(t.waterLevel), number(t.trackLength),  number(t.objectCount),
        number(best.time),    CsvCp1252(best.driver), CsvCp1252(best.car)};
    for (int p = 1; p <= 6; ++p) {
        row.push_back(number(t.results[p].time));
        row.push_back(CsvCp1252(t.results[p].driver));
    }
    row.push_back(number(t.ghostFrameCount));
    row.push_back(CsvCp1252(t.recordDate));
    row.emplace_back(t.damaged ? "true" : "false");
    return row;
}

enum class Format { kText, kJson, kCsv };

struct InfoOptions {
    std::vector<std::string> tracks;
    bool json = false;
    bool csv = false;
    bool recursive = false;
    int jobs = 0;
};

std::string EscapeTerminalControls(const std::string& json);

TrackResult ListTrack(const TrackInput& input, Format format, bool batch, Workspace& space) {
    Report report;
    TrackResult result;
    const std::optional<LoadedTrack> loaded = LoadTrack(input, space, report);
    if (!loaded) {
        result.outcome = Outcome::kFailed;
    } else if (loaded->track.Refused()) {
        result.outcome = Outcome::kRefused;
        // The listing of a refused file holds only its name and size.
        if (format == Format::kText) result.out = ListingText(*loaded);
    } else {
        result.outcome = loaded->track.damaged ? Outcome::kDamaged : Outcome::kWritten;
        const auto dump = [batch](const nlohmann::json& value) {
            return EscapeTerminalControls(
                value.dump(batch ? -1 : 2, ' ', false, nlohmann::json::error_handler_t::replace));
        };
        switch (format) {
            case Format::kText:
                result.out = ListingText(*loaded);
                break;
            case Format::kJson:
                result.out = dump(InfoJson(*loaded, input.given)) + "\n";
                break;
            case Format::kCsv:
                result.out = CsvRecord(CsvRow(loaded->track, input.given));
                break;
        }
    }
    if (batch && format == Format::kText && !result.out.empty())
        result.out = "==> " + platform::TerminalText(input.given) + " <==\n" + result.out + "\n";
    result.err = report.Take();
    return result;
}

// JSON itself escapes only C0; DEL and the C1 controls are escaped as well,
// so that the object can be shown on a terminal as it stands. Outside
// strings JSON is plain ASCII, so every such character is inside one.
std::string EscapeTerminalControls(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        const auto next = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0;
        char escape[8];
        if (c == 0x7F) {
            out += "\\u007f";
        } else if (c == 0xC2 && next >= 0x80 && next < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            out += escape;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("info", "List what tracks hold, as the information box shows it.");
    auto o = std::make_shared<InfoOptions>();
    command
        ->add_option("TRACK", o->tracks,
                     "track files (.trk), folders of them, or - (a track on standard input)")
        ->option_text("TRACK...")
        ->required()
        ->check(kNonEmptyPath);
    auto* json = command->add_flag(
        "--json", o->json,
        "one JSON object; of several tracks, one compact object a line (JSON Lines)");
    command->add_flag("--csv", o->csv, "a CSV table: a header and a row for each track")
        ->excludes(json);
    command->add_flag("-r,--recursive", o->recursive, "take the tracks in subfolders too");
    command->add_option("-j,--jobs", o->jobs, "read N tracks at a time (default: one per core)")
        ->option_text("N")
        ->check(WholeNumber(1, 256));
    command->footer(
        std::string("Times are hundredths of a second; 6000 or more means no time.\n\n") +
        kExitCodesHelp +
        "\n\nExamples:\n"
        "  trk info monza.trk\n"
        "  trk info --json monza.trk\n"
        "  trk info --csv -r tracks/ > tracks.csv");
    command->callback([o, &exitCode] {
        const platform::Result<CollectedTracks> collected = CollectTracks(o->tracks, o->recursive);
        if (StopsAt(collected, "info", exitCode)) return;
        const Format format = o->json ? Format::kJson : o->csv ? Format::kCsv : Format::kText;
        if (format == Format::kCsv) std::cout << CsvRecord(CsvHeader());
        BatchSettings settings;
        settings.jobs = o->jobs;
        settings.batch = collected->batch;
        settings.verb = "listed";
        const bool batch = collected->batch;
        exitCode =
            RunBatch(collected->tracks, settings,
                     [format, batch](const TrackInput& input, NameClaims&, Workspace& space) {
                         return ListTrack(input, format, batch, space);
                     });
    });
}

}  // namespace cli
