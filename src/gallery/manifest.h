// What a site holds, kept in it as SITE/manifest.json, and the plan of a
// run over a site that exists: which pages to make (new, changed, or with
// new neighbours), which to leave alone, and which files to remove. A run removes nothing the
// manifest does not name, so a site never loses a file of the user's.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gallery/images.h"
#include "gallery/site.h"

namespace gallery {

inline constexpr const char* kManifestFile = "manifest.json";

struct Manifest {
    // The site's kind and the tool that made it: pages of another are all
    // made anew.
    std::string format;
    struct Page {
        std::string page;
        std::string given;
        std::string hash;
        std::string previous;  // the neighbours' pages it links to; empty: none
        std::string next;
        std::vector<PlacedLayer> layers;  // where its images put the layers
    };
    std::vector<Page> pages;
    std::vector<std::string> assets;  // the shared files, as paths from the top folder
    // Files of an older site that a stopped run had yet to remove, as paths
    // from the top folder.
    std::vector<std::string> leftovers;
};

std::string ManifestJson(const Manifest& manifest);
// Nothing when `text` is not a manifest.
std::optional<Manifest> ReadManifest(std::string_view text);

enum class Work {
    kMake,  // draw its images and write its page
    kKeep,  // leave its files alone
    kNone,  // an entry without a page
};

struct Plan {
    std::vector<Work> work;  // per entry of the site
    // Per entry kept: its page as the manifest has it, which `previous`
    // keeps; else null.
    std::vector<const Manifest::Page*> before;
    // Files of the old site's pages no longer wanted, and its leftovers,
    // as paths from the top folder; never a file of a page the site keeps.
    std::vector<std::string> remove;
};

// A page's files, as paths from the top folder.
std::vector<std::string> PageFiles(const std::string& page);

// The plan of a run that makes `site` (in site order, with page names)
// where `previous` was. `present(page)` tells whether a page's files are
// still there; a page that lost one is made anew.
Plan MakePlan(const Manifest& previous, std::string_view format, std::span<const Entry> site,
              const std::function<bool(const Manifest::Page& page)>& present);

}  // namespace gallery
