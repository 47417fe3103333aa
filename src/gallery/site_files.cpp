#include "gallery/site_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/safe_file.h"

namespace gallery {
namespace {

// A manifest larger than this is not ours.
constexpr std::size_t kLargestManifest = 256u << 20;

std::string InSite(const std::string& folder, const std::string& path) {
    return platform::PathText(platform::FsPath(folder) / platform::FsPath(path));
}

std::string InPages(const std::string& folder, const std::string& file) {
    return InSite(folder, std::string(kPageFolder) + "/" + file);
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(platform::FsPath(path), error);
}

platform::Result<std::string> ReadText(const std::string& path, std::size_t largest) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(platform::FsPath(path), error);
    if (error) return platform::Fail("cannot be read");
    if (size > largest) return platform::Fail("is too large");
    std::string text(static_cast<std::size_t>(size), '\0');
    const platform::Result<platform::FileRead> read =
        platform::ReadWholeFile(path, {reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
    if (!read) return read.failure();
    text.resize(static_cast<std::size_t>(read->bytesRead));
    return text;
}

platform::Result<> Write(const std::string& path, std::string_view text) {
    const platform::Result<> written = platform::WriteFileSafely(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!written) return platform::Fail(path + ": " + written.reason());
    return {};
}

// A file whose bytes are already these is left alone: a run with nothing
// changed writes almost nothing.
platform::Result<> WriteChanged(const std::string& path, std::string_view text) {
    const platform::Result<std::string> old = ReadText(path, text.size());
    if (old && *old == text) return {};
    return Write(path, text);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

Manifest::Page PageRecord(const SiteRun& run, std::size_t k) {
    const Entry& entry = run.site[k];
    const Neighbours neighbours = NeighboursOf(run.site, k);
    const auto pageOf = [](const Entry* e) { return e == nullptr ? std::string() : e->page; };
    return {
        entry.page,   entry.given, entry.hash, pageOf(neighbours.previous), pageOf(neighbours.next),
        run.layers[k]};
}

}  // namespace

void NamePages(std::vector<Entry>& site) {
    std::unordered_set<std::string> taken;
    for (Entry& entry : site) {
        entry.page.clear();
        if (entry.kind != Entry::Kind::kTrack) continue;
        std::string stem = platform::PathFromText(entry.pictureName);
        std::replace_if(
            stem.begin(), stem.end(), [](char c) { return !platform::IsFileNameCharacter(c); },
            '_');
        if (stem.empty() || stem == "." || stem == "..") stem = "track";
        std::string name = stem;
        for (int n = 2; !taken.insert(Lower(name)).second; ++n)
            name = stem + "-" + std::to_string(n);
        entry.page = std::move(name);
    }
}

Manifest ReadSiteManifest(const std::string& folder) {
    const platform::Result<std::string> text =
        ReadText(InSite(folder, kManifestFile), kLargestManifest);
    if (!text) return {};
    std::optional<Manifest> manifest = ReadManifest(*text);
    return manifest ? std::move(*manifest) : Manifest{};
}

bool PagePresent(const std::string& folder, const Manifest::Page& page) {
    return Exists(InPages(folder, PageFile(page.page))) &&
           Exists(InPages(folder, PictureFile(page.page)));
}

SiteRun PlanSite(std::string folder, std::string title, std::vector<Entry> site) {
    SiteRun run;
    run.folder = std::move(folder);
    run.title = std::move(title);
    run.site = std::move(site);
    run.previous = ReadSiteManifest(run.folder);
    run.plan = MakePlan(run.previous, kSiteFormat, run.site, [&run](const Manifest::Page& page) {
        return PagePresent(run.folder, page);
    });
    run.assets.style = AssetPath("gallery", "css", StyleSheet());
    run.assets.script = AssetPath("gallery", "js", Script());
    run.layers.resize(run.site.size());
    for (std::size_t k = 0; k < run.site.size(); ++k)
        if (run.plan.before[k] != nullptr) run.layers[k] = run.plan.before[k]->layers;
    return run;
}

platform::Result<> WriteInterimManifest(const SiteRun& run) {
    Manifest manifest = run.previous;
    bool changes = false;
    for (std::size_t k = 0; k < run.site.size(); ++k) {
        if (run.plan.work[k] != Work::kMake) continue;
        changes = true;
        const std::string& page = run.site[k].page;
        const auto old = std::find_if(manifest.pages.begin(), manifest.pages.end(),
                                      [&](const Manifest::Page& p) { return p.page == page; });
        if (old != manifest.pages.end())
            old->hash.clear();
        else
            manifest.pages.push_back({page, "", "", "", "", {}});
    }
    if (!changes) return {};
    if (auto made = platform::MakeFolders(InSite(run.folder, kPageFolder)); !made) return made;
    return Write(InSite(run.folder, kManifestFile), ManifestJson(manifest));
}

platform::Result<> WriteTrackFiles(SiteRun& run, std::size_t k, const track::Track& track,
                                   std::span<const std::uint8_t> bytes, ImageMaker& maker) {
    if (run.plan.work[k] != Work::kMake) return {};
    const Entry& entry = run.site[k];
    platform::Result<TrackImages> images =
        maker.Make(track, picture::CaptionFor(track, picture::TrackName(platform::TextFromPath(
                                                         platform::FilePart(entry.given)))));
    if (!images) return images.failure();
    if (auto written = Write(InPages(run.folder, PictureFile(entry.page)), images->picture);
        !written)
        return written;
    run.layers[k] = images->placed;
    return Write(InPages(run.folder, PageFile(entry.page)),
                 TrackPage(track, entry, bytes, *images, NeighboursOf(run.site, k), run.assets));
}

void DropPage(SiteRun& run, std::size_t k) {
    Entry& entry = run.site[k];
    if (!entry.HasPage()) return;
    for (std::string& file : PageFiles(entry.page)) run.plan.remove.push_back(std::move(file));
    entry.page.clear();
    run.plan.work[k] = Work::kNone;
    run.layers[k].clear();
}

platform::Result<> FinishSite(SiteRun& run) {
    run.data = DataScript(run.site);
    run.assets.data = AssetPath("data", "js", run.data);
    if (auto made = platform::MakeFolders(InSite(run.folder, "assets")); !made) return made;
    for (const auto& [path, text] :
         {std::pair{run.assets.style, StyleSheet()}, std::pair{run.assets.script, Script()},
          std::pair{run.assets.data, std::string_view(run.data)}}) {
        // Named by their contents: one that is there is whole.
        const std::string file = InSite(run.folder, path);
        if (Exists(file)) continue;
        if (auto written = Write(file, text); !written) return written;
    }

    Manifest manifest;
    manifest.format = kSiteFormat;
    manifest.assets = {run.assets.style, run.assets.script, run.assets.data};
    for (std::size_t k = 0; k < run.site.size(); ++k)
        if (run.site[k].HasPage()) manifest.pages.push_back(PageRecord(run, k));

    std::vector<std::string> remove = run.plan.remove;
    for (const std::string& asset : run.previous.assets)
        if (std::find(manifest.assets.begin(), manifest.assets.end(), asset) ==
            manifest.assets.end())
            remove.push_back(asset);

    // Until the old files are gone the manifest names them, so that a run
    // stopped before that removes them next time.
    const std::string manifestPath = InSite(run.folder, kManifestFile);
    manifest.leftovers = remove;
    if (auto written = WriteChanged(manifestPath, ManifestJson(manifest)); !written) return written;
    if (auto written = WriteChanged(InSite(run.folder, "index.html"),
                                    IndexPage(run.title, run.site, run.assets));
        !written)
        return written;
    if (remove.empty()) return {};
    for (const std::string& path : remove) {
        std::error_code error;
        std::filesystem::remove(platform::FsPath(InSite(run.folder, path)), error);
    }
    manifest.leftovers.clear();
    return Write(manifestPath, ManifestJson(manifest));
}

}  // namespace gallery
