#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/state.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "platform/encoding.h"

namespace cli {
namespace {

nlohmann::json InfoJson(const std::string& path) {
    const app::AnalyserState& s = app::state;
    const auto text = [](const std::string& t) { return platform::Cp1252ToUtf8(t); };
    nlohmann::json places = nlohmann::json::array();
    for (int p = 1; p <= 6; ++p) {
        places.push_back({{"place", p},
                          {"name", text(s.PlaceNames[p])},
                          {"time", s.PlaceTimes[p]},
                          {"car", text(s.CarNames[p])}});
    }
    return {
        {"file", path},
        {"file_size", s.TrackFileSize},
        {"version", "1.05"},
        {"world_size", s.WorldSize},
        {"water_level", s.WaterLevel},
        {"angle", s.Angle},
        {"rotation", s.Rotation},
        {"zoom", s.Zoom},
        {"start_finish_line", s.StartFinishLine},
        {"landmap_bytes", s.LandmapSize},
        {"object_count", s.ObjectCount},
        {"track_length", s.TrackLength},
        {"author", text(s.TrackAuthor)},
        {"best", {{"name", text(s.BestName)}, {"time", s.BestTime}, {"car", text(s.CarNames[0])}}},
        {"places", places},
        {"record_date", text(s.RecordDate)},
        {"ghost_frames", s.GhostFrameCount}};
}

// JSON itself escapes only C0; DEL and the C1 controls are escaped as well,
// so that the object can be shown on a terminal as it stands. Outside
// strings JSON is plain ASCII, so every such character is inside one.
std::string EscapeTerminalControls(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        const auto next = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0;
        char escape[8];
        if (c == 0x7F) {
            out += "\\u007f";
        } else if (c == 0xC2 && next >= 0x80 && next < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            out += escape;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("info", "List what a track holds, as the information box shows it.");
    auto path = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    command->add_option("TRACK", *path, "the track file (.trk)")->required()->check(kNonEmptyPath);
    command->add_flag("--json", *json, "print one JSON object instead of the listing");
    command->callback([path, json, &exitCode] {
        Session session;
        exitCode = session.LoadTrack(*path);
        if (exitCode == kFailed) return;
        if (*json && exitCode == kOk) {
            const auto listing = InfoJson(platform::Cp1252ToUtf8(platform::TextFromPath(*path)));
            std::cout << EscapeTerminalControls(listing.dump(2)) << '\n';
        } else if (!*json) {
            std::cout << session.InfoText();
        }
    });
}

}  // namespace cli
