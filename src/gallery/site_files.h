// A site on disk: the steps of a run over SITE, each a few files through the
// safe writer. A run reads the old manifest, plans, vouches in the manifest
// for nothing it is about to change, makes each track's files, then writes
// the shared files, the manifest and, last, the index, and only then removes
// what the old site had and the new one does not. So a run stopped at any
// point leaves the index of the site before it, whose files are all there,
// and a manifest that lets the next run finish the work.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gallery/images.h"
#include "gallery/manifest.h"
#include "gallery/pages.h"
#include "gallery/site.h"
#include "platform/result.h"
#include "track/track.h"

namespace gallery {

// What manifest.json says of this tool's sites; a site of another is made
// anew. Raised when pages change, so that older pages are made again.
inline constexpr std::string_view kSiteFormat = "trk-gallery 4";

// Gives each entry with a track its page name: its picture name as a file
// name ("_" for what a file name cannot hold), numbered "-2", "-3", ... in
// site order where an earlier one took it, in any letter case, so that the
// pages stay apart on systems that ignore case.
void NamePages(std::vector<Entry>& site);

// The site's manifest as its folder holds it; an empty one when there is
// none or it is not ours, and then nothing of the old site is removed.
Manifest ReadSiteManifest(const std::string& folder);

// Whether a page's files are in the folder: its page, picture and, where
// it has layers, their image.
bool PagePresent(const std::string& folder, const Manifest::Page& page);

// The plan of a run that makes `site` in `folder`.
struct SiteRun {
    std::string folder;
    std::string title;
    std::vector<Entry> site;  // named, in site order
    Manifest previous;
    Plan plan;
    Assets assets;
    std::string data;  // the data script
    // Per entry, where its layers lie, once made or as they were.
    std::vector<std::vector<PlacedLayer>> layers;
};
SiteRun PlanSite(std::string folder, std::string title, std::vector<Entry> site);

// The manifest as it must be while the run works: every page of the old
// site still named, so that its files can go later, but those the run is
// about to write vouch for nothing (no hash), so that a stopped run's
// half-written page is made anew next time.
platform::Result<> WriteInterimManifest(const SiteRun& run);

// Makes entry `k`'s files when the plan says so, from its track and bytes;
// keeps where its layers lie in `run`.
// Each entry's own slot only: safe on several threads at once for
// different entries.
platform::Result<> WriteTrackFiles(SiteRun& run, std::size_t k, const track::Track& track,
                                   std::span<const std::uint8_t> bytes, ImageMaker& maker);

// After every track: an entry whose files were not made (a track that
// failed part way) loses its page, so that nothing links to it.
void DropPage(SiteRun& run, std::size_t k);

// The shared files, the manifest and the index, then the removals.
platform::Result<> FinishSite(SiteRun& run);

}  // namespace gallery
