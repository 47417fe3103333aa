// trk compare: two laps of one map, the second measured along the first
// one's path, as a chart or as the aligned table.
#include <iostream>

#include "chart/chart.h"
#include "cli/commands.h"
#include "cli/lap_tracks.h"
#include "cli/messages.h"
#include "cli/table.h"
#include "platform/encoding.h"
#include "platform/paths.h"

namespace cli {
namespace {

struct CompareOptions {
    std::string a, b;
    std::string output;
    bool csv = false;
};

std::string AlignedCsv(const std::vector<lap::AlignedRow>& rows) {
    std::string out =
        CsvRecord({"distance", "time_a_s", "time_b_s", "gap_s", "speed_a", "speed_b"});
    for (const lap::AlignedRow& r : rows) {
        out += CsvRecord({Fixed(r.distance, 1), Fixed(r.timeA, 3), Fixed(r.timeB, 3),
                          Fixed(r.gap, 3), Fixed(r.speedA, 1), Fixed(r.speedB, 1)});
    }
    return out;
}

// "monza.trk: Anna" (UTF-8).
std::string LapLabel(const std::string& path, const LapTrack& t) {
    return ValidUtf8(platform::PathText(platform::FsPath(path).filename())) + ": " +
           platform::Cp1252ToUtf8(t.track.results[1].driver);
}

}  // namespace

void AddCompareCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "compare", "Compare two laps of one map: where the second one gains or loses time.");
    auto o = std::make_shared<CompareOptions>();
    command->add_option("A", o->a, "the track whose lap is measured against")
        ->required()
        ->check(kNonEmptyPath);
    command->add_option("B", o->b, "a track of the same map with another lap")
        ->required()
        ->check(kNonEmptyPath);
    auto* output =
        command
            ->add_option("-o,--output", o->output, "write the chart to FILE (.png, .svg or .pdf)")
            ->option_text("FILE")
            ->check(kNonEmptyPath);
    auto* csv = command->add_flag(
        "--csv", o->csv,
        "print the aligned table instead: distance,time_a_s,time_b_s,gap_s,speed_a,speed_b");
    output->excludes(csv);
    command->footer(std::string(kLapModelHelp) +
                    "\nB's frames are matched to A's path by position, moving forward along\n"
                    "the lap, so that both laps are measured along A's distance; the gap is B's\n"
                    "time less A's, and rises where B loses time. The chart shows both speeds,\n"
                    "the gap, and the map with both paths, the three stretches where B loses\n"
                    "most marked. A and B must hold the same map (world size, landmap and\n"
                    "height map).\n\n" +
                    std::string(kExitCodesHelp) +
                    "\n\nExamples:\n"
                    "  trk compare mine.trk rival.trk -o laps.png\n"
                    "  trk compare mine.trk rival.trk --csv > laps.csv");
    command->callback([o, &exitCode] {
        if (o->output.empty() && !o->csv) throw CLI::ValidationError("give -o FILE or --csv");
        std::optional<chart::Format> format;
        if (!o->output.empty()) {
            if (!chart::Available()) {
                StopCommand("compare", "charts are not available in this build; use --csv",
                            exitCode);
                return;
            }
            format = chart::FormatOf(o->output);
            if (!format) {
                StopCommand(o->output, "unknown chart type; use .png, .svg or .pdf", exitCode);
                return;
            }
        }
        const std::optional<LapTrack> a = ReadLapTrack(o->a, exitCode);
        if (!a) return;
        const std::optional<LapTrack> b = ReadLapTrack(o->b, exitCode);
        if (!b) return;
        if (!lap::SameMap(a->track, b->track)) {
            std::cerr << "trk: " << platform::TerminalText(o->a) << " and "
                      << platform::TerminalText(o->b) << " are not the same map\n";
            exitCode = 1;
            return;
        }
        if (o->csv) {
            std::cout << AlignedCsv(lap::Align(a->lap, b->lap));
            return;
        }
        const platform::Result<std::string> drawn = chart::CompareChart(
            a->track, {a->lap, LapLabel(o->a, *a)}, {b->lap, LapLabel(o->b, *b)}, *format);
        Report report;
        if (!report.Worked(o->output, drawn)) {
            std::cerr << report.Take();
            exitCode = kFailed;
            return;
        }
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(drawn->data()), drawn->size());
        // Neither track is written over.
        if (!report.Worked(o->output, platform::CheckTarget(o->output, b->identity)) ||
            !report.Worked(o->output, platform::WriteFileSafely(o->output, bytes, a->identity)))
            exitCode = kFailed;
        std::cerr << report.Take();
    });
}

}  // namespace cli
