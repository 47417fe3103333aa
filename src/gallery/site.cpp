#include "gallery/site.h"

#include <algorithm>
#include <cstdio>

#include "picture/picture.h"
#include "platform/encoding.h"
#include "platform/paths.h"

// XXH3 in its header-only form: nothing to link, the same on every system.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace gallery {

std::string ContentHash(std::string_view fileName, std::span<const std::uint8_t> bytes) {
    XXH3_state_t state;
    XXH3_INITSTATE(&state);
    XXH3_128bits_reset(&state);
    // The name's length first, so that no name and bytes hash as another's.
    const std::uint64_t length = fileName.size();
    XXH3_128bits_update(&state, &length, sizeof length);
    XXH3_128bits_update(&state, fileName.data(), fileName.size());
    XXH3_128bits_update(&state, bytes.data(), bytes.size());
    const XXH128_hash_t hash = XXH3_128bits_digest(&state);
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(hash.high64),
                  static_cast<unsigned long long>(hash.low64));
    return text;
}

Entry DescribeTrack(const track::Track& track, std::string_view given,
                    std::span<const std::uint8_t> bytes) {
    Entry entry;
    entry.given = given;
    const std::string fileName = platform::FilePart(entry.given);
    entry.hash = ContentHash(fileName, bytes);
    if (track.Refused()) {
        entry.kind = Entry::Kind::kRefused;
        entry.reason = track.refusal;
        return entry;
    }
    entry.damaged = track.damaged;
    entry.pictureName =
        picture::CaptionFor(track, picture::TrackName(platform::TextFromPath(fileName)))
            .pictureName;
    entry.author = track.author;
    entry.place1Time = track.results[1].time;
    entry.place1Driver = track.results[1].driver;
    entry.bestTime = track.results[0].time;
    entry.worldSize = track.worldSize;
    entry.objects = track.objectCount;
    entry.trackLength = track.trackLength;
    entry.ghostFrames = track.ghostFrameCount;
    entry.date = track::RecordDate(track);
    for (const track::Result& result : track.results) {
        entry.drivers.push_back(result.driver);
        entry.cars.push_back(result.car);
    }
    return entry;
}

Entry DescribeUnreadable(std::string_view given, std::string_view reason) {
    Entry entry;
    entry.kind = Entry::Kind::kUnreadable;
    entry.given = given;
    entry.reason = reason;
    return entry;
}

std::vector<std::size_t> SortForSite(std::vector<Entry>& entries) {
    // platform::FilePart's cut, without a copy per comparison.
    const auto fileOf = [](const std::string& given) {
        const std::size_t cut = given.find_last_of("/\\");
        return cut == std::string::npos ? std::string_view(given)
                                        : std::string_view(given).substr(cut + 1);
    };
    std::vector<std::size_t> from(entries.size());
    for (std::size_t k = 0; k < from.size(); ++k) from[k] = k;
    std::stable_sort(from.begin(), from.end(), [&](std::size_t a, std::size_t b) {
        const std::string_view nameA = fileOf(entries[a].given);
        const std::string_view nameB = fileOf(entries[b].given);
        return nameA != nameB ? nameA < nameB : entries[a].given < entries[b].given;
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const std::size_t k : from) sorted.push_back(std::move(entries[k]));
    entries = std::move(sorted);
    return from;
}

Neighbours NeighboursOf(std::span<const Entry> site, std::size_t index) {
    Neighbours neighbours;
    for (std::size_t k = index; k-- > 0;) {
        if (site[k].HasPage()) {
            neighbours.previous = &site[k];
            break;
        }
    }
    for (std::size_t k = index + 1; k < site.size(); ++k) {
        if (site[k].HasPage()) {
            neighbours.next = &site[k];
            break;
        }
    }
    return neighbours;
}

std::string SecondsText(std::int16_t hundredths) {
    if (hundredths >= track::kNoTime) return "";
    const int magnitude = hundredths < 0 ? -hundredths : hundredths;
    char text[16];
    std::snprintf(text, sizeof text, "%s%d.%02d", hundredths < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

}  // namespace gallery
