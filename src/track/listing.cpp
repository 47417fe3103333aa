#include <string>

#include "track/track.h"

namespace track {

std::vector<std::string> ListingLines(const Track& t) {
    if (t.Refused()) return {};
    const auto number = [](std::int64_t value) { return std::to_string(value); };
    std::vector<std::string> lines = {
        "Velocitra 1.05",
        " ",
        "Worldsize: " + number(t.worldSize),
        "Waterlevel: " + number(t.waterLevel),
        "Angel: " + number(t.angle),
        "Rotation: " + number(t.rotation),
        "Zoom: " + number(t.zoom),
        "S/F Line: " + number(t.startFinishLine),
        " ",
        "Landmap: " + number(2 * std::int64_t{t.landmapCount}) + " Bytes",
        "# Objecte: " + number(t.objectCount),
        "Trk-L\xE4nge: " + number(t.trackLength),
        " ",
        "Autor: " + t.author,
        " ",
        "Best: " + t.results[0].driver + " " + number(t.results[0].time) + "  " + t.recordDate};
    for (int p = 1; p <= 6; ++p)
        lines.push_back(number(p) + ".: " + t.results[p].driver + " " + number(t.results[p].time));
    lines.emplace_back(" ");
    lines.push_back("Car Best:" + t.results[0].car);
    for (int k = 1; k <= 6; ++k) lines.push_back(number(k) + ":" + t.results[k].car);
    lines.emplace_back(" ");
    lines.push_back("Ghost Frames:" + number(t.ghostFrameCount));
    return lines;
}

std::string LoadLine(std::string_view fileName, std::int64_t size) {
    return std::string(fileName) + "   " + std::to_string(size) + " Bytes";
}

std::string ReadFailureStatus(std::string_view fileName, std::string_view reason) {
    return "Caution: " + std::string(fileName) + ": " + std::string(reason);
}

}  // namespace track
