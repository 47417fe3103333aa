// A gallery: an archive of tracks as a static web site that opens from disk.
// The site is made of plain values: each track's entry (its index row and
// the name of its page), the pages and images made from a track, the index,
// and the manifest that lets the next run redo only what changed. Nothing
// here touches a file; the caller reads the tracks and writes what these
// functions give it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "track/track.h"

namespace gallery {

// What the site tells of one track named to it: a row of the index and,
// for a track that is read, a page of its own.
struct Entry {
    enum class Kind { kTrack, kRefused, kUnreadable };
    Kind kind = Kind::kTrack;
    std::string given;   // the track as named (a path, UTF-8)
    std::string reason;  // why it is refused or cannot be read
    // The file's name and bytes as a hash (32 hexadecimal digits): the page
    // of the same name and hash needs no remaking. Empty when unreadable.
    std::string hash;
    std::string pictureName;  // as the caption names it (Windows-1252)
    std::string page;         // the page's file name without ".html"; empty: none
    bool damaged = false;

    // The index's values; texts Windows-1252, as the track holds them.
    std::string author;
    std::int16_t place1Time = track::kNoTime;
    std::string place1Driver;
    std::int16_t bestTime = track::kNoTime;
    int worldSize = 0;
    int objects = 0;
    std::int32_t trackLength = 0;
    int ghostFrames = 0;
    track::DateTime date;
    std::vector<std::string> drivers;  // the best entry's and the places', for searching
    std::vector<std::string> cars;

    bool HasPage() const { return kind == Kind::kTrack && !page.empty(); }
};

// The hash of a track file: its name and its bytes.
std::string ContentHash(std::string_view fileName, std::span<const std::uint8_t> bytes);

// The entry of a track read from `bytes` (accepted or refused), without its
// page name, which the caller gives as it names output files.
Entry DescribeTrack(const track::Track& track, std::string_view given,
                    std::span<const std::uint8_t> bytes);
Entry DescribeUnreadable(std::string_view given, std::string_view reason);

// The site's order: by file name, then by the path as named, byte by byte.
// The index lists tracks in it, and a page's previous and next follow it.
// Gives where each entry was before.
std::vector<std::size_t> SortForSite(std::vector<Entry>& entries);

// The entries before and after `index` that have pages, or null.
struct Neighbours {
    const Entry* previous = nullptr;
    const Entry* next = nullptr;
};
Neighbours NeighboursOf(std::span<const Entry> site, std::size_t index);

// Times as the site shows them: seconds with two decimals ("45.23"), or
// empty for no time.
std::string SecondsText(std::int16_t hundredths);

}  // namespace gallery
