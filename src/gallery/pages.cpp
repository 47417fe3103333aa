#include "gallery/pages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "chart/chart.h"
#include "export/car_file.h"
#include "gallery/html.h"
#include "lap/lap.h"
#include "picture/colours.h"
#include "platform/encoding.h"
#include "platform/paths.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace gallery {
namespace {

constexpr std::array<const char*, kLayerCount> kLayerNames = {"water", "objects", "ghost",
                                                              "ghost-speed"};
constexpr std::array<const char*, kLayerCount> kLayerLabels = {"Water", "Objects", "Ghost",
                                                               "Ghost speed"};

// `style`, when given, is the page's own, beside the shared one.
std::string Head(std::string_view title, std::string_view up, const Assets& assets, bool withData,
                 std::string_view style = {}) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"color-scheme\" content=\"light dark\">\n<title>";
    html += title;
    html += "</title>\n<link rel=\"stylesheet\" href=\"";
    html += up;
    html += Html(assets.style);
    html += "\">\n";
    if (!style.empty()) {
        html += "<style>";
        html += style;
        html += "</style>\n";
    }
    // The script runs before the body is read, so that the index's rows
    // are hidden from the first layout on; the data it waits for.
    html += "<script src=\"";
    html += up;
    html += Html(assets.script);
    html += "\"></script>\n";
    if (withData) {
        html += "<script src=\"";
        html += up;
        html += Html(assets.data);
        html += "\" defer></script>\n";
    }
    html += "</head>\n";
    return html;
}

std::string PageLink(const Entry& entry) {
    return UrlPart(PageFile(entry.page));
}

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

std::string Percent(int part, int whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f%%", 100.0 * part / whole);
    return text;
}

std::string DateText(const track::DateTime& d) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute);
    return text;
}

// A date as one number that sorts as the date does.
std::int64_t DateKey(const track::DateTime& d) {
    std::int64_t key = d.year;
    for (const int part : {d.month, d.day, d.hour, d.minute, d.second}) key = key * 100 + part;
    return key;
}

std::string Kilobytes(std::size_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024.0);
    return text;
}

// A car's file name for its download: its name where that makes a file
// name, else "car<k>".
std::string CarFileName(const std::string& name, int k) {
    std::string stem = platform::PathFromText(name);
    const bool usable = !stem.empty() && stem != "." && stem != ".." &&
                        std::all_of(stem.begin(), stem.end(), platform::IsFileNameCharacter);
    if (!usable) stem = "car" + std::to_string(k);
    return stem + ".car";
}

// The ghost speed layer's key, told in the page rather than drawn in the
// layer: text that reads at any size, and a layer whose box is only the lap.
std::string SpeedKey() {
    std::string gradient = "linear-gradient(to right";
    for (const raster::Colour c : picture::kSpeedScale) {
        char hex[9];
        std::snprintf(hex, sizeof hex, ",#%02x%02x%02x", raster::RedOf(c), raster::GreenOf(c),
                      raster::BlueOf(c));
        gradient += hex;
    }
    // The bar holds a space, not nothing: an empty inline element is
    // dropped by HTML tidiers.
    return R"( <span class="speed-key">slow <span class="speed-bar" style="background:)" +
           gradient + R"x()" aria-hidden="true">&nbsp;</span> fast</span>)x";
}

// Each layer covers the box it draws in, its image the background that the
// page's own style gives it.
void AppendPicture(std::string& html, const Entry& entry, std::span<const PlacedLayer> layers,
                   const std::string& fileName) {
    html += "<section class=\"viewer\" aria-label=\"Picture\">\n";
    for (int k = 0; k < kLayerCount; ++k) {
        const bool drawn = std::any_of(layers.begin(), layers.end(), [k](const PlacedLayer& p) {
            return static_cast<int>(p.layer) == k;
        });
        const std::string id = std::string("show-") + kLayerNames[k];
        html += R"(<input type="checkbox" id=")";
        html += id;
        // Ghost speed covers the ghost's dots: it is there to be switched on.
        const bool on = drawn && static_cast<Layer>(k) != Layer::kGhostSpeed;
        html += !drawn ? R"(" disabled><label for=")"
                : on   ? R"(" checked><label for=")"
                       : R"("><label for=")";
        html += id;
        html += "\">";
        html += kLayerLabels[k];
        if (drawn && static_cast<Layer>(k) == Layer::kGhostSpeed) html += SpeedKey();
        html += drawn ? "</label>\n" : " (none)</label>\n";
    }
    const std::string picture = UrlPart(PictureFile(entry.page));
    html += "<div class=\"picture\">\n";
    html += R"(<img class="map" src=")" + picture + R"(" width="512" height=")" +
            Number(560 + kThumbnailHeight) + R"(" alt="The map of )" + Html(fileName) +
            ", with its caption\">\n";
    for (const PlacedLayer& placed : layers) {
        html += "<div class=\"layer layer-" +
                std::string(kLayerNames[static_cast<std::size_t>(placed.layer)]) +
                "\" style=\"left:" + Percent(placed.left, 512) +
                ";top:" + Percent(placed.top, 560) + ";width:" + Percent(placed.width, 512) +
                ";height:" + Percent(placed.height, 560) + "\"></div>\n";
    }
    html += "</div>\n</section>\n";
}

void AppendResults(std::string& html, const track::Track& track) {
    html +=
        "<section>\n<h2>Results</h2>\n<table class=\"results\">\n<thead><tr><th "
        "scope=\"col\">Entry</th><th scope=\"col\">Driver</th><th scope=\"col\">Time "
        "(s)</th><th scope=\"col\">Car</th></tr></thead>\n<tbody>\n";
    for (int k = 0; k < track::kCarCount; ++k) {
        const track::Result& result = track.results[static_cast<std::size_t>(k)];
        html += "<tr><th scope=\"row\">" + (k == 0 ? std::string("Best") : Number(k) + ".") +
                "</th><td>" + HtmlFromTrack(result.driver) + "</td><td class=\"n\">" +
                SecondsText(result.time) + "</td><td>";
        const platform::Result<std::vector<std::uint8_t>> car = exporter::CarFile(track, k);
        const std::string name = result.car.empty() ? "car " + Number(k) : result.car;
        if (car) {
            html += "<a download=\"" + Html(CarFileName(result.car, k)) + "\" href=\"" +
                    DataUrl("application/octet-stream", *car) + "\">" + HtmlFromTrack(name) +
                    "</a>";
        } else {
            html += HtmlFromTrack(name) + " (not in the file)";
        }
        html += "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n</section>\n";
}

void AppendListing(std::string& html, const track::Track& track, const std::string& fileName,
                   std::size_t size) {
    html += "<section>\n<h2>Listing</h2>\n<pre class=\"listing\">";
    html += HtmlFromTrack(
        track::LoadLine(platform::TextFromPath(fileName), static_cast<std::int64_t>(size)));
    for (const std::string& line : track::ListingLines(track)) {
        html += '\n';
        html += HtmlFromTrack(line);
    }
    html += "</pre>\n</section>\n";
}

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Utf8(std::string_view cp1252) {
    return platform::TerminalText(platform::Cp1252ToUtf8(cp1252));
}

// Place 1's lap: its summary as a list and its speed chart, an SVG image
// held in the page (an image, not inline markup: its ids and styles stay
// its own, and no script in it can run).
void AppendLapAnalysis(std::string& html, const track::Track& track) {
    html += "<section>\n<h2>Lap</h2>\n";
    const std::optional<lap::Lap> lap = lap::ReadLap(track);
    if (!lap) {
        html += "<p>This track has no ghost lap.</p>\n</section>\n";
        return;
    }
    const lap::Summary s = lap::Summarise(*lap);
    const auto row = [&html](std::string_view term, const std::string& value) {
        html += "<dt>";
        html += term;
        html += "</dt><dd>" + value + "</dd>\n";
    };
    html += "<dl class=\"lap\">\n";
    row("Lap time", SecondsText(lap->lapTime) + " s by " + HtmlFromTrack(track.results[1].driver));
    std::string frames = Number(lap->frameCount) + ", one every " + Fixed(lap->frameStep, 3) + " s";
    if (!lap->Whole())
        frames +=
            " (the file ends after " + Number(static_cast<std::int64_t>(lap->samples.size())) + ")";
    row("Frames", frames);
    row("Length", Fixed(lap->Length(), 0) + " units");
    row("Average speed", Fixed(s.averageSpeed, 0) + " units/s");
    row("Top speed", Fixed(s.top.speed, 0) + " units/s at " + Fixed(s.top.time, 2) + " s");
    row("Sectors", Fixed(s.sectors[0], 2) + " s, " + Fixed(s.sectors[1], 2) + " s, " +
                       Fixed(s.sectors[2], 2) + " s (thirds of the length)");
    html += "</dl>\n";
    if (!chart::Available()) {
        html += "<p>The speed chart is not drawn: this build has no charts.</p>\n</section>\n";
        return;
    }
    const platform::Result<std::string> svg = chart::SpeedChart(*lap, chart::Format::kSvg);
    if (svg) {
        html += R"(<figure><img class="chart" width="720" height="300" src=")" +
                DataUrl("image/svg+xml",
                        {reinterpret_cast<const std::uint8_t*>(svg->data()), svg->size()}) +
                "\" alt=\"The lap's speed against its distance, its sectors marked\">\n"
                "<figcaption>Speed (units/s) against the distance along the lap (ghost "
                "units), the sectors marked.</figcaption></figure>\n";
    } else {
        html += "<p>The speed chart could not be drawn: " + Html(svg.failure().reason) + "</p>\n";
    }
    html += "</section>\n";
}

// The file name's link is the row's way to the page; the picture is only
// shown. Rows leave out what HTML lets them (end tags, the picture's size,
// which the style gives, and the numbers' alignment): ten thousand of them
// are read faster. The picture is inside noscript, which a browser with
// scripts reads as one text, not as an image of its own: the script makes
// images only of the rows in view.
std::string ThumbnailCell(const Entry& entry) {
    if (!entry.HasPage()) return "<td>";
    return R"(<td><noscript><img class="thumb" src="t/)" + UrlPart(PictureFile(entry.page)) +
           R"(" loading="lazy" alt=""></noscript>)";
}

std::string IndexRow(const Entry& entry) {
    const std::string file = Html(platform::FilePart(entry.given));
    std::string row;
    switch (entry.kind) {
        case Entry::Kind::kRefused:
        case Entry::Kind::kUnreadable:
            row = entry.kind == Entry::Kind::kRefused ? R"(<tr class="refused">)"
                                                      : R"(<tr class="unreadable">)";
            row += ThumbnailCell(entry) + "<td>" + file + R"(<td colspan="9">)";
            row += entry.kind == Entry::Kind::kRefused ? "refused: " : "unreadable: ";
            row += Html(entry.reason) + "\n";
            return row;
        case Entry::Kind::kTrack:
            break;
    }
    row = entry.damaged ? R"(<tr class="damaged">)" : "<tr>";
    row += ThumbnailCell(entry) + R"(<td><a href="t/)" + PageLink(entry) + "\">" + file + "</a>";
    if (entry.damaged) row += " (damaged)";
    for (const std::string& cell :
         {HtmlFromTrack(entry.author), SecondsText(entry.place1Time),
          HtmlFromTrack(entry.place1Driver), SecondsText(entry.bestTime), Number(entry.worldSize),
          Number(entry.objects), Number(entry.trackLength), Number(entry.ghostFrames),
          DateText(entry.date)}) {
        row += "<td>";
        row += cell;
    }
    row += '\n';
    return row;
}

// A time for sorting: no time as null, which sorts last.
nlohmann::json TimeValue(std::int16_t hundredths) {
    return hundredths >= track::kNoTime ? nlohmann::json(nullptr) : nlohmann::json(hundredths);
}

}  // namespace

std::string AssetPath(std::string_view stem, std::string_view extension,
                      std::string_view contents) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(XXH3_64bits(contents.data(), contents.size())));
    return "assets/" + std::string(stem) + "-" + hash + "." + std::string(extension);
}

std::string PageFile(const std::string& page) {
    return page + ".html";
}
std::string PictureFile(const std::string& page) {
    return page + ".jpg";
}

std::string TrackPage(const track::Track& track, const Entry& entry,
                      std::span<const std::uint8_t> bytes, const TrackImages& images,
                      Neighbours neighbours, const Assets& assets) {
    const std::string fileName = platform::FilePart(entry.given);
    std::string style;
    for (std::size_t k = 0; k < images.placed.size(); ++k) {
        const std::string& png = images.layers[k];
        style +=
            ".layer-" + std::string(kLayerNames[static_cast<std::size_t>(images.placed[k].layer)]) +
            "{background-image:url(\"" +
            DataUrl("image/png", {reinterpret_cast<const std::uint8_t*>(png.data()), png.size()}) +
            "\")}";
    }
    std::string html = Head(Html(fileName), "../", assets, false, style);
    html += "<body class=\"track-page\">\n<nav class=\"pager\" aria-label=\"Tracks\">\n";
    html += "<a href=\"../index.html\">All tracks</a>\n";
    if (neighbours.previous != nullptr) {
        html += R"(<a rel="prev" href=")" + PageLink(*neighbours.previous) + R"(">&larr; )" +
                Html(platform::FilePart(neighbours.previous->given)) + "</a>\n";
    }
    if (neighbours.next != nullptr) {
        html += R"(<a rel="next" href=")" + PageLink(*neighbours.next) + "\">" +
                Html(platform::FilePart(neighbours.next->given)) + " &rarr;</a>\n";
    }
    html += "</nav>\n<main>\n<h1>" + Html(fileName) + "</h1>\n";
    html += "<p class=\"facts\">";
    if (!track.author.empty()) html += "By " + HtmlFromTrack(track.author) + ". ";
    if (entry.place1Time < track::kNoTime) {
        html += "Place 1: " + SecondsText(entry.place1Time) + " s by " +
                HtmlFromTrack(entry.place1Driver) + ". ";
    }
    html += "World size " + Number(track.worldSize) + ", " + Number(track.objectCount) +
            " objects, track length " + Number(track.trackLength) + ".";
    if (track.damaged) {
        html +=
            " <strong>Damaged:</strong> parts of the track lie beyond the end of its file; what "
            "lies inside is shown.";
    }
    html += "</p>\n";
    AppendPicture(html, entry, images.placed, fileName);
    AppendResults(html, track);
    AppendLapAnalysis(html, track);
    html += "<section>\n<h2>Track file</h2>\n<p><a download=\"" + Html(fileName) + "\" href=\"" +
            DataUrl("application/octet-stream", bytes) + "\">" + Html(fileName) + "</a> (" +
            Kilobytes(bytes.size()) + ")</p>\n</section>\n";
    AppendListing(html, track, fileName, bytes.size());
    html += "</main>\n</body>\n</html>\n";
    return html;
}

std::string IndexPage(std::string_view title, std::span<const Entry> site, const Assets& assets) {
    std::size_t refused = 0;
    std::size_t unreadable = 0;
    for (const Entry& entry : site) {
        refused += entry.kind == Entry::Kind::kRefused;
        unreadable += entry.kind == Entry::Kind::kUnreadable;
    }
    const std::string heading = Html(title);
    std::string html = Head(heading, "", assets, true);
    html += "<body class=\"index-page\">\n<header>\n<h1>" + heading + "</h1>\n<p class=\"count\">";
    html +=
        Number(static_cast<std::int64_t>(site.size())) + (site.size() == 1 ? " track" : " tracks");
    if (refused + unreadable > 0) {
        html += ": " + Number(static_cast<std::int64_t>(site.size() - refused - unreadable)) +
                " shown, " + Number(static_cast<std::int64_t>(refused)) + " refused, " +
                Number(static_cast<std::int64_t>(unreadable)) + " unreadable";
    }
    html +=
        "</p>\n<p class=\"search\" hidden><label for=\"search\">Search</label> <input "
        "type=\"search\" id=\"search\" placeholder=\"file, author, driver, car\" "
        "autocomplete=\"off\"> <output id=\"shown\" for=\"search\"></output></p>\n</header>\n"
        "<main>\n<table id=\"tracks\">\n<thead><tr><th scope=\"col\">Picture</th>"
        "<th scope=\"col\">File</th><th scope=\"col\">Author</th>"
        "<th scope=\"col\" class=\"n\">Place 1 (s)</th><th scope=\"col\">Driver</th>"
        "<th scope=\"col\" class=\"n\">Best (s)</th><th scope=\"col\" class=\"n\">World size</th>"
        "<th scope=\"col\" class=\"n\">Objects</th><th scope=\"col\" class=\"n\">Length</th>"
        "<th scope=\"col\" class=\"n\">Ghost frames</th><th "
        "scope=\"col\">Date</th></tr></thead>\n<tbody class=\"all\">\n";
    for (const Entry& entry : site) html += IndexRow(entry);
    html += "</tbody>\n</table>\n</main>\n</body>\n</html>\n";
    return html;
}

std::string DataScript(std::span<const Entry> site) {
    nlohmann::json rows = nlohmann::json::array();
    for (const Entry& entry : site) {
        const std::string file = platform::TerminalText(platform::FilePart(entry.given));
        if (entry.kind != Entry::Kind::kTrack) {
            rows.push_back({file, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, file + " " + entry.reason});
            continue;
        }
        std::string search = file + "\n" + Utf8(entry.author);
        for (const std::string& driver : entry.drivers) search += "\n" + Utf8(driver);
        for (const std::string& car : entry.cars) search += "\n" + Utf8(car);
        rows.push_back({file, Utf8(entry.author), TimeValue(entry.place1Time),
                        Utf8(entry.place1Driver), TimeValue(entry.bestTime), entry.worldSize,
                        entry.objects, entry.trackLength, entry.ghostFrames, DateKey(entry.date),
                        search});
    }
    // The columns as the index has them, less the picture, then the text
    // the search looks in.
    return R"(window.trkGallery = {"schema": 1, "rows": )" +
           rows.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "};\n";
}

}  // namespace gallery
