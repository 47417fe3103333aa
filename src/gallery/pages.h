// The site's pages: the index of every track named, a page per track, and
// the script file that brings the index's values to its sorting and search
// (browsers refuse fetch on file://, but load scripts). The pages read as
// plain HTML without scripts; the layer switches work without them too.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gallery/images.h"
#include "gallery/site.h"
#include "track/track.h"

namespace gallery {

// The style and script every page uses, as built into the tool.
std::string_view StyleSheet();
std::string_view Script();

// Where a page finds the shared files, from the site's top folder. Each is
// named by a hash of its contents, so that an interrupted run, whose index
// still names the files before it, never meets another run's files.
struct Assets {
    std::string style;   // "assets/gallery-<hash>.css"
    std::string script;  // "assets/gallery-<hash>.js"
    std::string data;    // "assets/data-<hash>.js"
};
// "assets/<stem>-<16 hexadecimal digits>.<extension>"
std::string AssetPath(std::string_view stem, std::string_view extension, std::string_view contents);

// The folder of the pages and their images, and their file names.
inline constexpr const char* kPageFolder = "t";
std::string PageFile(const std::string& page);     // "<page>.html"
std::string PictureFile(const std::string& page);  // "<page>.jpg"

// A track's page, in t/: its picture with the layer switches, results with
// the stored cars, the track file, the listing, and links to the index and
// to its neighbours. `bytes` are the file's, which the page offers for
// download; the layers' image is held in the page itself.
std::string TrackPage(const track::Track& track, const Entry& entry,
                      std::span<const std::uint8_t> bytes, const TrackImages& images,
                      Neighbours neighbours, const Assets& assets);

// The index: `title`, the count, and a row for every entry in site order.
std::string IndexPage(std::string_view title, std::span<const Entry> site, const Assets& assets);

// The index's values for sorting and searching, row by row as the index
// lists them.
std::string DataScript(std::span<const Entry> site);

}  // namespace gallery
