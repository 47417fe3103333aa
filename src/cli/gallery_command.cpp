// trk gallery: an archive of tracks as a static web site.
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/load.h"
#include "cli/messages.h"
#include "cli/workers.h"
#include "gallery/site_files.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/temporaries.h"

namespace cli {
namespace {

struct GalleryOptions {
    std::vector<std::string> tracks;
    std::string site;
    std::string title = "Tracks";
    bool recursive = false;
    int jobs = 0;
};

// Why a track could not be read, as its load's status line said it, on
// one line and without the log's "Caution: ".
std::string Reason(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::string caution = "Caution: ";
    if (text.starts_with(caution)) text.erase(0, caution.size());
    return text.empty() ? "cannot be read" : text;
}

// What the site tells of each track: read and described on the workers,
// without a word, which the run itself says.
std::vector<gallery::Entry> Describe(const TrackList& tracks, int jobs) {
    std::vector<gallery::Entry> entries(tracks.size());
    const auto workers = static_cast<std::size_t>(jobs > 0 ? jobs : DefaultJobs());
    std::vector<Workspace> spaces(std::min(workers, tracks.size()));
    RunOnWorkers(tracks.size(), workers, [&](std::size_t k, std::size_t worker) {
        const TrackInput input = tracks[k];
        if (!input.error.empty()) {
            entries[k] = gallery::DescribeUnreadable(input.given, input.error);
            return;
        }
        Report report;
        const std::optional<LoadedTrack> loaded = LoadTrack(input, spaces[worker], report);
        if (!loaded) {
            entries[k] = gallery::DescribeUnreadable(input.given, Reason(report.Take()));
            return;
        }
        entries[k] = gallery::DescribeTrack(
            loaded->track, input.given,
            spaces[worker].FileRoom().first(static_cast<std::size_t>(loaded->size)));
    });
    return entries;
}

// One track's part of the run: its files as the plan says, and what the
// summary counts it as.
TrackResult GalleryTrack(const TrackInput& input, gallery::SiteRun& run, std::size_t k,
                         Workspace& space, std::vector<char>& failed) {
    TrackResult result;
    const gallery::Work work = run.plan.work[k];
    const gallery::Entry& entry = run.site[k];
    if (work == gallery::Work::kKeep) {
        result.outcome = entry.damaged ? Outcome::kDamaged : Outcome::kWritten;
        return result;
    }
    // Quiet, as a batch is: the summary tells what became of the track.
    Report report(true);
    const std::optional<LoadedTrack> loaded = LoadTrack(input, space, report);
    if (!loaded || loaded->track.Refused()) {
        result.outcome = loaded ? Outcome::kRefused : Outcome::kFailed;
        result.err = report.Take();
        return result;
    }
    // One maker per worker thread keeps its pictures' memory from track to
    // track.
    thread_local gallery::ImageMaker maker;
    const platform::Result<> written = gallery::WriteTrackFiles(
        run, k, loaded->track, space.FileRoom().first(static_cast<std::size_t>(loaded->size)),
        maker);
    if (!report.Worked(input.given, written)) {
        failed[k] = 1;
        result.outcome = Outcome::kFailed;
    } else {
        result.outcome = loaded->track.damaged ? Outcome::kDamaged : Outcome::kWritten;
    }
    result.err = report.Take();
    return result;
}

int MakeGallery(const GalleryOptions& o, int& exitCode) {
    for (const std::string& track : o.tracks) {
        if (track == "-") {
            StopCommand("gallery",
                        "a gallery offers each track's file; give files or folders, not -",
                        exitCode);
            return exitCode;
        }
    }
    const platform::Result<CollectedTracks> collected = CollectTracks(o.tracks, o.recursive);
    if (StopsAt(collected, "gallery", exitCode)) return exitCode;
    const TrackList& tracks = collected->tracks;
    for (const char* folder : {"", gallery::kPageFolder, "assets"}) {
        const std::string path =
            platform::PathText(platform::FsPath(o.site) / platform::FsPath(folder));
        if (StopsAt(platform::MakeFolders(path), o.site, exitCode)) return exitCode;
        platform::TidyTemporaries(path);
    }

    // The site's order is the names' order, not the arguments': track k
    // is entry `entryOf[k]`.
    std::vector<gallery::Entry> entries = Describe(tracks, o.jobs);
    const std::vector<std::size_t> from = gallery::SortForSite(entries);
    std::vector<std::size_t> entryOf(from.size());
    for (std::size_t s = 0; s < from.size(); ++s) entryOf[from[s]] = s;
    gallery::NamePages(entries);
    gallery::SiteRun run = gallery::PlanSite(o.site, o.title, std::move(entries));
    if (StopsAt(gallery::WriteInterimManifest(run), o.site, exitCode)) return exitCode;

    std::vector<char> failed(run.site.size(), 0);
    BatchSettings settings;
    settings.jobs = o.jobs;
    settings.batch = true;
    settings.verb = "in the gallery";
    exitCode =
        RunBatch(tracks, settings, [&](const TrackInput& input, NameClaims&, Workspace& space) {
            return GalleryTrack(input, run, entryOf[input.index], space, failed);
        });
    // A track whose files could not be written has no page: the index
    // lists it with why.
    for (std::size_t k = 0; k < run.site.size(); ++k) {
        if (!failed[k]) continue;
        gallery::DropPage(run, k);
        run.site[k].kind = gallery::Entry::Kind::kUnreadable;
        run.site[k].reason = "its page could not be written";
    }
    const platform::Result<> finished = gallery::FinishSite(run);
    if (!finished) {
        std::cerr << FileLine(o.site, finished.reason());
        return exitCode = kFailed;
    }
    std::size_t made = 0;
    std::size_t kept = 0;
    for (const gallery::Work work : run.plan.work) {
        made += work == gallery::Work::kMake;
        kept += work == gallery::Work::kKeep;
    }
    std::cerr << "trk: "
              << platform::TerminalText(
                     platform::PathText(platform::FsPath(o.site) / platform::FsPath("index.html")))
              << ": " << made << (made == 1 ? " track page" : " track pages") << " made, " << kept
              << " unchanged\n";
    return exitCode;
}

}  // namespace

void AddGalleryCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "gallery", "Make a web site of tracks: an index to sort and search, a page per track.");
    auto o = std::make_shared<GalleryOptions>();
    command->add_option("TRACK", o->tracks, "track files (.trk) and folders of them")
        ->option_text("TRACK...")
        ->required()
        ->check(kNonEmptyPath);
    command
        ->add_option("-o,--output", o->site,
                     "the site's folder, made when missing; a site there is brought up to date")
        ->option_text("SITE")
        ->required()
        ->check(kNonEmptyPath);
    command->add_option("--title", o->title, "the index's title (default \"Tracks\")")
        ->option_text("TEXT");
    command->add_flag("-r,--recursive", o->recursive, "take the tracks in subfolders too");
    command->add_option("-j,--jobs", o->jobs, "make N tracks at a time (default: one per core)")
        ->option_text("N")
        ->check(WholeNumber(1, 256));
    command->footer(
        std::string(
            "SITE/index.html lists every track named: sortable, searchable, with a thumbnail;\n"
            "each track has its page in SITE/t/, named as render -d names its picture, with\n"
            "the picture and its overlays as switches, the results, the listing, the stored\n"
            "cars and the track file to download. The site opens from disk in a browser.\n"
            "A second run redoes only the tracks whose files changed, and removes the pages\n"
            "of tracks no longer named; the index is written last, so a stopped run leaves\n"
            "the site before it whole. Refused and unreadable tracks are listed as such.\n\n") +
        kExitCodesHelp +
        "\n\nExamples:\n"
        "  trk gallery tracks/ -o site/              then open site/index.html\n"
        "  trk gallery tracks/ -r -o site/ --title \"My archive\"");
    command->callback([o, &exitCode] { MakeGallery(*o, exitCode); });
}

}  // namespace cli
