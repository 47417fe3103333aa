#include "gallery/manifest.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <unordered_map>

#include "gallery/pages.h"
#include "platform/paths.h"

namespace gallery {
namespace {

using nlohmann::json;

json LayersJson(const std::vector<PlacedLayer>& layers) {
    json list = json::array();
    for (const PlacedLayer& p : layers)
        list.push_back({static_cast<int>(p.layer), p.left, p.top, p.width, p.height});
    return list;
}

std::vector<PlacedLayer> LayersFrom(const json& list) {
    std::vector<PlacedLayer> layers;
    for (const json& item : list) {
        const int layer = item.at(0).get<int>();
        if (layer < 0 || layer >= kLayerCount) throw std::out_of_range("layer");
        // A site of the format before held the layers' rows only, as
        // [layer, top, height, row in their image]; its pages are all made
        // anew, and its manifest still says which files to remove.
        if (item.size() == 4) {
            layers.push_back(
                {static_cast<Layer>(layer), 0, item.at(1).get<int>(), 512, item.at(2).get<int>()});
            continue;
        }
        layers.push_back({static_cast<Layer>(layer), item.at(1).get<int>(), item.at(2).get<int>(),
                          item.at(3).get<int>(), item.at(4).get<int>()});
    }
    return layers;
}

// A name read from the manifest is only ever a file name in the site's own
// folders: a manifest that says otherwise is no manifest of ours, and no
// file outside the site is removed on its word.
bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           std::all_of(name.begin(), name.end(), platform::IsFileNameCharacter);
}

bool InFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/' && PlainName(path.substr(folder.size() + 1));
}

bool AssetName(const std::string& path) {
    return InFolder(path, "assets");
}

}  // namespace

std::string ManifestJson(const Manifest& manifest) {
    json pages = json::array();
    for (const Manifest::Page& page : manifest.pages) {
        pages.push_back({{"page", page.page},
                         {"given", page.given},
                         {"hash", page.hash},
                         {"previous", page.previous},
                         {"next", page.next},
                         {"layers", LayersJson(page.layers)}});
    }
    const json document = {{"format", manifest.format},
                           {"pages", pages},
                           {"assets", manifest.assets},
                           {"leftovers", manifest.leftovers}};
    return document.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<Manifest> ReadManifest(std::string_view text) {
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    try {
        Manifest manifest;
        manifest.format = document.at("format").get<std::string>();
        for (const json& page : document.at("pages")) {
            manifest.pages.push_back(
                {page.at("page").get<std::string>(), page.at("given").get<std::string>(),
                 page.at("hash").get<std::string>(), page.at("previous").get<std::string>(),
                 page.at("next").get<std::string>(), LayersFrom(page.at("layers"))});
        }
        manifest.assets = document.at("assets").get<std::vector<std::string>>();
        manifest.leftovers = document.value("leftovers", std::vector<std::string>());
        for (const Manifest::Page& page : manifest.pages)
            if (!PlainName(page.page)) return std::nullopt;
        for (const std::string& asset : manifest.assets)
            if (!AssetName(asset)) return std::nullopt;
        for (const std::string& file : manifest.leftovers)
            if (!AssetName(file) && !InFolder(file, kPageFolder)) return std::nullopt;
        return manifest;
    } catch (const json::exception&) {
        return std::nullopt;
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

std::vector<std::string> PageFiles(const std::string& page) {
    const std::string folder = std::string(kPageFolder) + "/";
    return {folder + PageFile(page), folder + PictureFile(page)};
}

Plan MakePlan(const Manifest& previous, std::string_view format, std::span<const Entry> site,
              const std::function<bool(const Manifest::Page& page)>& present) {
    const bool sameFormat = previous.format == format;
    std::unordered_map<std::string, const Manifest::Page*> before;
    for (const Manifest::Page& page : previous.pages) before.emplace(page.page, &page);

    Plan plan;
    plan.work.assign(site.size(), Work::kNone);
    plan.before.assign(site.size(), nullptr);
    std::set<std::string> kept;  // the files of every page the site has
    for (std::size_t k = 0; k < site.size(); ++k) {
        const Entry& entry = site[k];
        if (!entry.HasPage()) continue;
        for (std::string& file : PageFiles(entry.page)) kept.insert(std::move(file));
        plan.work[k] = Work::kMake;
        const auto found = before.find(entry.page);
        if (!sameFormat || found == before.end() || found->second->hash.empty() ||
            found->second->hash != entry.hash || !present(*found->second))
            continue;
        const Manifest::Page& old = *found->second;
        const Neighbours neighbours = NeighboursOf(site, k);
        const auto pageOf = [](const Entry* e) { return e == nullptr ? std::string() : e->page; };
        const bool sameLinks =
            old.previous == pageOf(neighbours.previous) && old.next == pageOf(neighbours.next);
        // A page whose neighbours changed is made again: it holds its
        // layers, which are made with its picture.
        if (!sameLinks) continue;
        plan.work[k] = Work::kKeep;
        plan.before[k] = &old;
    }
    std::vector<std::string> candidates = previous.leftovers;
    for (const Manifest::Page& page : previous.pages)
        for (std::string& file : PageFiles(page.page)) candidates.push_back(std::move(file));
    std::set<std::string> listed;
    for (std::string& file : candidates)
        if (!kept.contains(file) && listed.insert(file).second)
            plan.remove.push_back(std::move(file));
    return plan;
}

}  // namespace gallery
