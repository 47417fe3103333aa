// The gallery as values: a track's page and index row, the plan of a run
// over an existing site, and whole runs over a site on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "chart/chart.h"
#include "gallery/html.h"
#include "gallery/site_files.h"
#include "platform/image_codec.h"
#include "platform/safe_file.h"
#include "start/core.h"
#include "support/png_decode.h"
#include "trackgen/scene.h"
#include "trackgen/track_writer.h"

namespace fs = std::filesystem;
using gallery::Entry;
using gallery::Work;

namespace {

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A site made from track files in a scratch folder, as trk gallery makes it.
class GallerySite : public ::testing::Test {
  protected:
    void SetUp() override {
        start::PrepareDrawing();
        root = fs::temp_directory_path() /
               ("ta-gallery-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(root / "tracks");
    }
    void TearDown() override { fs::remove_all(root); }

    // The seed makes the results and so the page's name; the author is
    // "`author` by trackgen".
    std::string Track(const std::string& name, std::uint64_t seed, const std::string& author = "") {
        const fs::path path = root / "tracks" / name;
        const auto bytes =
            trackgen::WriteTrack(trackgen::GenerateScene(seed, author.empty() ? name : author));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    // Runs over `tracks`; gives the work planned per file name.
    std::map<std::string, Work> Run(const std::vector<std::string>& tracks) {
        std::vector<Entry> site;
        for (const std::string& path : tracks) {
            const std::string text = ReadText(path);
            const std::vector<std::uint8_t> bytes(text.begin(), text.end());
            if (bytes.empty())
                site.push_back(gallery::DescribeUnreadable(path, "no such file"));
            else
                site.push_back(gallery::DescribeTrack(track::Parse(bytes), path, bytes));
        }
        gallery::SortForSite(site);
        gallery::NamePages(site);
        gallery::SiteRun run = gallery::PlanSite((root / "site").string(), "Tracks", site);
        EXPECT_TRUE(gallery::WriteInterimManifest(run));
        gallery::ImageMaker maker;
        std::map<std::string, Work> work;
        for (std::size_t k = 0; k < run.site.size(); ++k) {
            work[fs::path(run.site[k].given).filename().string()] = run.plan.work[k];
            const std::string text = ReadText(run.site[k].given);
            const std::vector<std::uint8_t> bytes(text.begin(), text.end());
            if (!bytes.empty()) {
                EXPECT_TRUE(gallery::WriteTrackFiles(run, k, track::Parse(bytes), bytes, maker));
            }
        }
        EXPECT_TRUE(gallery::FinishSite(run));
        return work;
    }

    std::map<std::string, fs::file_time_type> Times() const {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& file : fs::recursive_directory_iterator(root / "site"))
            if (file.is_regular_file())
                times[fs::relative(file.path(), root / "site").string()] = file.last_write_time();
        return times;
    }

    fs::path root;
};

}  // namespace

TEST(Gallery, TextsAreSafeInMarkupAndLinks) {
    EXPECT_EQ(gallery::Html("<a href=\"x\">&'"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;");
    EXPECT_EQ(gallery::HtmlFromTrack("caf\xE9\x01"), "caf\xC3\xA9?");
    EXPECT_EQ(gallery::UrlPart("a b#?/%.html"), "a%20b%23%3F%2F%25.html");
    const std::uint8_t bytes[] = {'M', 'a', 'n'};
    for (const auto& [length, url] :
         std::vector<std::pair<std::size_t, std::string>>{{0, "data:x;base64,"},
                                                          {1, "data:x;base64,TQ=="},
                                                          {2, "data:x;base64,TWE="},
                                                          {3, "data:x;base64,TWFu"}})
        EXPECT_EQ(gallery::DataUrl("x", {bytes, length}), url);
}

TEST(Gallery, LayersImageKeepsEveryPixelAtEveryDepth) {
    // 2, 3, 5, 17 and 200 colours: 1, 2, 4 and 8 bits a pixel, on an odd width.
    for (const int colours : {2, 3, 5, 17, 200}) {
        platform::IndexedPicture layers;
        layers.width = 13;
        layers.height = 3;
        for (int k = 0; k < colours; ++k)
            layers.palette.push_back(raster::RgbColour(k * 9 % 256, 200, 7));
        for (int k = 0; k < 39; ++k)
            layers.pixels.push_back(static_cast<std::uint8_t>((k * 7) % colours));
        const auto png = platform::BytesWrittenBy(
            [&](std::FILE* file) { return platform::WriteIndexedPng(layers, file); });
        ASSERT_TRUE(png) << colours;
        const std::vector<std::uint8_t> rgba = DecodePng(*png, PNG_FORMAT_RGBA);
        ASSERT_EQ(rgba.size(), 4 * layers.pixels.size()) << colours;
        for (std::size_t k = 0; k < layers.pixels.size(); ++k) {
            const int index = layers.pixels[k];
            EXPECT_EQ(rgba[4 * k + 3], index == 0 ? 0 : 255) << colours << " " << k;
            if (index != 0) {
                EXPECT_EQ(rgba[4 * k], index * 9 % 256) << colours << " " << k;
            }
        }
        // An index past the palette is refused, not written as garbage:
        // among the first pixels and among the last.
        for (const std::size_t at : {std::size_t{3}, layers.pixels.size() - 1}) {
            platform::IndexedPicture bad = layers;
            bad.pixels[at] = static_cast<std::uint8_t>(colours);
            EXPECT_FALSE(platform::BytesWrittenBy([&](std::FILE* file) {
                return platform::WriteIndexedPng(bad, file);
            })) << colours
                << " " << at;
        }
    }
}

TEST(Gallery, TrackPageAndIndexRowShowTheTrackSafely) {
    start::PrepareDrawing();
    trackgen::TrackContents contents = trackgen::GenerateScene(3, "x");
    contents.author = "<b>Ann & Bo</b>";
    contents.placeTimes[0] = 4523;
    contents.placeNames[0] = "Cy";
    const std::vector<std::uint8_t> bytes = trackgen::WriteTrack(contents);
    const track::Track track = track::Parse(bytes);
    std::vector<Entry> site = {gallery::DescribeTrack(track, "x/a.trk", bytes),
                               gallery::DescribeTrack(track, "in/a.trk", bytes),
                               gallery::DescribeTrack(track, "in/A.trk", bytes),
                               gallery::DescribeTrack(track::Parse({}), "in/c.trk", {}),
                               gallery::DescribeUnreadable("in/d.trk", "no such file")};
    gallery::SortForSite(site);
    gallery::NamePages(site);
    // Numbered in site order, apart in any letter case.
    ASSERT_EQ(site[0].page, "A_4523_Cy");
    ASSERT_EQ(site[1].page, "a_4523_Cy-2");
    ASSERT_EQ(site[2].page, "a_4523_Cy-3");
    EXPECT_EQ(site[3].kind, Entry::Kind::kRefused);
    EXPECT_FALSE(site[3].HasPage());

    gallery::ImageMaker maker;
    const auto images = maker.Make(track, picture::CaptionFor(track, "b"));
    ASSERT_TRUE(images);
    EXPECT_EQ(images->picture.substr(0, 2), "\xFF\xD8");
    ASSERT_EQ(images->placed.size(), 4u);  // water, objects, ghost and ghost speed each draw
    ASSERT_EQ(images->layers.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        // Each image is its layer's box, and the box lies within the picture.
        const gallery::PlacedLayer& box = images->placed[k];
        const std::string& png = images->layers[k];
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(png.substr(1, 3), "PNG");
        const auto be32 = [&png](std::size_t at) {
            return static_cast<int>(static_cast<std::uint8_t>(png[at]) << 24 |
                                    static_cast<std::uint8_t>(png[at + 1]) << 16 |
                                    static_cast<std::uint8_t>(png[at + 2]) << 8 |
                                    static_cast<std::uint8_t>(png[at + 3]));
        };
        EXPECT_EQ(be32(16), box.width) << k;
        EXPECT_EQ(be32(20), box.height) << k;
        // Packed at four bits a pixel or fewer: eight would double the bytes.
        EXPECT_LE(static_cast<int>(png[24]), 4) << k;
        EXPECT_TRUE(box.left >= 0 && box.width > 0 && box.left + box.width <= 512) << k;
        EXPECT_TRUE(box.top >= 0 && box.height > 0 && box.top + box.height <= 560) << k;
    }
    // The ghost speed's key is the page's (below); its layer is only the lap, on the map.
    EXPECT_EQ(images->placed[3].layer, gallery::Layer::kGhostSpeed);
    EXPECT_LE(images->placed[3].top + images->placed[3].height, 512);

    const gallery::Assets assets{"assets/s.css", "assets/j.js", "assets/d.js"};
    const std::string page =
        gallery::TrackPage(track, site[2], bytes, *images, gallery::NeighboursOf(site, 2), assets);
    EXPECT_NE(page.find("&lt;b&gt;Ann &amp; Bo&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<b>Ann"), std::string::npos);
    EXPECT_NE(page.find("Place 1: 45.23 s by Cy"), std::string::npos);
    EXPECT_NE(page.find("<a rel=\"prev\" href=\"a_4523_Cy-2.html\">"), std::string::npos);
    EXPECT_EQ(page.find("rel=\"next\""), std::string::npos);  // c and d have no pages
    EXPECT_EQ(Count(page, " download=\""), 8);                // seven cars and the track
    EXPECT_EQ(Count(page, "class=\"layer layer-"), 4);
    EXPECT_EQ(Count(page,
                    "<span class=\"speed-key\">slow <span class=\"speed-bar\" "
                    "style=\"background:linear-gradient(to right,#440154,"),
              1);
    EXPECT_NE(page.find("href=\"../assets/s.css\""), std::string::npos);

    const std::string index = gallery::IndexPage("A & B", site, assets);
    EXPECT_NE(index.find("<title>A &amp; B</title>"), std::string::npos);
    EXPECT_NE(index.find("5 tracks: 3 shown, 1 refused, 1 unreadable"), std::string::npos);
    EXPECT_NE(index.find("<td>c.trk<td colspan=\"9\">refused: "), std::string::npos);
    EXPECT_NE(index.find("<td>d.trk<td colspan=\"9\">unreadable: no such file"), std::string::npos);
    EXPECT_NE(index.find("<td>45.23<td>Cy<td>"), std::string::npos);
    const std::string data = gallery::DataScript(site);
    EXPECT_EQ(Count(data, "[\""), 5);  // a row per entry, in the index's order
    EXPECT_LT(data.find("A.trk"), data.find("c.trk"));
}

// Place 1's lap on the page: its summary, its chart where this build draws
// charts, and the ghost speed switch, off at first; or plainly none.
TEST(Gallery, TrackPageTellsTheLapOrThatThereIsNone) {
    start::PrepareDrawing();
    for (const bool withLap : {true, false}) {
        trackgen::TrackContents contents = trackgen::GenerateScene(3, "x");
        contents.placeTimes[0] = withLap ? 4523 : 0;
        const std::vector<std::uint8_t> bytes = trackgen::WriteTrack(contents);
        const track::Track track = track::Parse(bytes);
        std::vector<Entry> site = {gallery::DescribeTrack(track, "in/a.trk", bytes)};
        gallery::NamePages(site);
        gallery::ImageMaker maker;
        const auto images = maker.Make(track, picture::CaptionFor(track, "a"));
        ASSERT_TRUE(images);
        const std::string page =
            gallery::TrackPage(track, site[0], bytes, *images, gallery::NeighboursOf(site, 0), {});
        const bool hasChart = page.find(
                                  "<img class=\"chart\" width=\"720\" height=\"300\" "
                                  "src=\"data:image/svg+xml;base64,") != std::string::npos;
        const bool saysNoCharts = page.find("this build has no charts") != std::string::npos;
        SCOPED_TRACE(withLap);
        EXPECT_EQ(page.find("<dt>Lap time</dt><dd>45.23 s by ") != std::string::npos, withLap);
        EXPECT_EQ(page.find("<dt>Sectors</dt>") != std::string::npos, withLap);
        EXPECT_EQ(hasChart, withLap && chart::Available());
        EXPECT_EQ(saysNoCharts, withLap && !chart::Available());
        EXPECT_EQ(page.find("This track has no ghost lap.") == std::string::npos, withLap);
        EXPECT_NE(page.find(withLap ? "<input type=\"checkbox\" id=\"show-ghost-speed\"><label"
                                    : "id=\"show-ghost-speed\" disabled>"),
                  std::string::npos);
        EXPECT_EQ(Count(page, "class=\"layer layer-ghost-speed\""), withLap ? 1 : 0);
    }
}

TEST(Gallery, ManifestsOfOthersAndHostileNamesAreNotRead) {
    gallery::Manifest manifest;
    manifest.format = "f";
    manifest.pages.push_back(
        {"p", "in/p.trk", "h", "", "q", {{gallery::Layer::kGhost, 1, 3, 2, 4}}});
    manifest.assets = {"assets/a.css"};
    const std::string json = gallery::ManifestJson(manifest);
    const auto read = gallery::ReadManifest(json);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pages[0].layers, manifest.pages[0].layers);
    // A site of the format before, its layers' rows only, is still read:
    // its manifest names the files a run removes.
    std::string before = json;
    const std::string box = "[\n     2,\n     1,\n";
    before.replace(before.find(box), box.size(), "[\n     2,\n");
    const auto old = gallery::ReadManifest(before);
    ASSERT_TRUE(old) << before;
    EXPECT_EQ(old->pages[0].layers[0],
              (gallery::PlacedLayer{gallery::Layer::kGhost, 0, 3, 512, 2}));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"\"page\": \"p\"", "\"page\": \"../p\""},
             {"\"assets/a.css\"", "\"../a.css\""},
             {"\"leftovers\": []", "\"leftovers\": [\"t/../../x\"]"},
             {"\"format\"", "\"kind\""}}) {
        std::string hostile = json;
        const std::size_t at = hostile.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        hostile.replace(at, from.size(), to);
        EXPECT_FALSE(gallery::ReadManifest(hostile)) << to;
    }
    EXPECT_FALSE(gallery::ReadManifest("not json"));
}

TEST(Gallery, PlanRedoesOnlyWhatChanged) {
    const auto entry = [](const std::string& page, const std::string& hash) {
        Entry e;
        e.given = page + ".trk";
        e.page = page;
        e.hash = hash;
        return e;
    };
    gallery::Manifest old;
    old.format = "f";
    old.pages = {{"a", "", "1", "", "b", {}},
                 {"b", "", "2", "a", "c", {}},
                 {"c", "", "3", "b", "d", {}},
                 {"d", "", "4", "c", "", {}},
                 {"gone", "", "5", "", "", {}}};
    old.leftovers = {"t/stale.png"};
    // b changed, c's files went missing, d now has e after it, e is new.
    const std::vector<Entry> site = {entry("a", "1"), entry("b", "20"), entry("c", "3"),
                                     entry("d", "4"), entry("e", "6")};
    const auto present = [](const gallery::Manifest::Page& page) { return page.page != "c"; };
    const gallery::Plan plan = gallery::MakePlan(old, "f", site, present);
    EXPECT_EQ(plan.work,
              (std::vector<Work>{Work::kKeep, Work::kMake, Work::kMake, Work::kMake, Work::kMake}));
    EXPECT_EQ(plan.remove, (std::vector<std::string>{"t/stale.png", "t/gone.html", "t/gone.jpg"}));
    // A site of another kind is made anew.
    for (const Work work : gallery::MakePlan(old, "g", site, present).work)
        EXPECT_EQ(work, Work::kMake);
}

TEST_F(GallerySite, SecondRunTouchesNothingAndLaterRunsFollowTheArchive) {
    const std::string a = Track("a.trk", 1), b = Track("b.trk", 2), c = Track("c.trk", 3);
    Run({a, b, c, (root / "tracks" / "missing.trk").string()});
    const auto first = Times();
    EXPECT_EQ(first.size(), 11u);  // 3 pages and pictures, 3 assets, manifest, index
    EXPECT_NE(ReadText(root / "site" / "index.html").find("unreadable: no such file"),
              std::string::npos);

    const auto again = Run({a, b, c, (root / "tracks" / "missing.trk").string()});
    for (const auto& [name, work] : again) EXPECT_TRUE(work == Work::kKeep || work == Work::kNone);
    EXPECT_EQ(Times(), first);

    // b changes, not its name; c is no longer given: b is made anew, a
    // stays as it was, c's files go.
    Track("b.trk", 2, "another");
    const auto later = Run({a, b});
    EXPECT_EQ(later.at("a.trk"), Work::kKeep);
    EXPECT_EQ(later.at("b.trk"), Work::kMake);
    const auto now = Times();
    EXPECT_EQ(now.size(), 9u);
    for (const auto& [file, time] : now) EXPECT_EQ(file.find("c_"), std::string::npos) << file;
    EXPECT_EQ(ReadText(root / "site" / "manifest.json").find("leftovers\": [\""),
              std::string::npos);
}

TEST_F(GallerySite, StoppedRunIsFinishedByTheNext) {
    const std::string a = Track("a.trk", 1), b = Track("b.trk", 2);
    Run({a, b});
    const std::string index = ReadText(root / "site" / "index.html");
    // A run for a changed b stops after the manifest stopped vouching for b.
    Track("b.trk", 2, "another");
    {
        std::vector<Entry> site;
        for (const std::string& path : {a, b}) {
            const std::string text = ReadText(path);
            const std::vector<std::uint8_t> bytes(text.begin(), text.end());
            site.push_back(gallery::DescribeTrack(track::Parse(bytes), path, bytes));
        }
        gallery::NamePages(site);
        const gallery::SiteRun run = gallery::PlanSite((root / "site").string(), "Tracks", site);
        ASSERT_TRUE(gallery::WriteInterimManifest(run));
    }
    EXPECT_EQ(ReadText(root / "site" / "index.html"), index);  // the old site, whole
    // b as it was: its page is made again all the same, as no one knows
    // what the stopped run had written.
    Track("b.trk", 2);
    const auto next = Run({a, b});
    EXPECT_EQ(next.at("a.trk"), Work::kKeep);
    EXPECT_EQ(next.at("b.trk"), Work::kMake);
}
