// Writes the seed inputs of the fuzz targets into fuzz/seeds/<target>/:
// demo tracks, a small track with every kind of object, and hand-shaped edge
// cases (N, M, R and G at their extremes, files that end exactly where a
// section ends or one byte short of it, and the large cases of the hang guard).
//   make_seeds OUTPUT_DIRECTORY
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "trackgen/scene.h"
#include "trackgen/track_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using trackgen::TrackContents;

std::filesystem::path out;
int written = 0;

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
    const auto dir = out / target;
    std::filesystem::create_directories(dir);
    if (!trackgen::SaveFile((dir / name).string(), bytes)) {
        std::cerr << "make_seeds: cannot write " << (dir / name) << "\n";
        std::exit(1);
    }
    ++written;
}

// The option bytes fuzz_whole takes from the end: car answer, its length,
// JPEG quality, flags (overlay order and stretching).
Bytes WithOptions(Bytes track, const std::string& car, int quality, int flags) {
    track.insert(track.end(), car.begin(), car.end());
    track.push_back(static_cast<std::uint8_t>(car.size()));
    track.push_back(static_cast<std::uint8_t>(quality));
    track.push_back(static_cast<std::uint8_t>(flags));
    return track;
}

// fuzz_parse takes a first byte that says how far the file is stretched.
Bytes WithMode(const Bytes& track, std::uint8_t mode) {
    Bytes b{mode};
    b.insert(b.end(), track.begin(), track.end());
    return b;
}

void SaveTrack(const std::string& name, const Bytes& track, const std::string& car = "3",
               int flags = 0) {
    Save("fuzz_parse", name, WithMode(track, 0));
    Save("fuzz_whole", name, WithOptions(track, car, 0, flags));
}

using trackgen::Put16;
using trackgen::Put32;

// A small track that every overlay draws something of: a few terrain runs,
// water below level 50, objects of each drawn type, results and a ghost.
TrackContents SmallTrack() {
    TrackContents t;
    t.worldSize = 100;
    t.waterLevel = 50;
    t.rotationLow = 200;
    t.rotationHigh = 255;
    for (int code = 0; code < 16; ++code)
        t.landmap.push_back(
            {static_cast<std::uint8_t>(code | 0xF0), static_cast<std::uint8_t>(code * 7)});
    for (std::size_t i = 0; i < t.heights.size(); ++i)
        t.heights[i] = static_cast<std::uint8_t>(i * 13);
    const std::int8_t types[] = {10, 9, 17, 18, 1, 2, 3, 23, 0, 5};
    for (int j = 0; j < 10; ++j) {
        t.objects.push_back({types[j], static_cast<std::int16_t>(100 + 80 * j),
                             static_cast<std::int16_t>(900 - 70 * j),
                             static_cast<std::uint8_t>(j * 25)});
    }
    t.objects.push_back({17, 0, 0, 0});        // at the corner: fails the margin test
    t.objects.push_back({10, -2, 1022, 255});  // outside the map
    t.author = "seed by make_seeds";
    t.trackLength = 12345;
    t.bestTime = 4321;
    t.placeTimes = {5432, 5999, 6000, -1, 32767, -32768};
    t.bestName = "Best";
    t.placeNames = {"One", "Two", "Three", "  Four  ", "FiveFiveFive5", ""};
    t.carNames = {"CarBest",
                  "Car1",
                  "Car/2",
                  "Car:3",
                  "",
                  "Car\xE4"
                  "5",
                  "Car6"};
    for (int f = 0; f < 40; ++f) {
        t.ghost.push_back(
            {static_cast<std::uint16_t>(f * 400), static_cast<std::uint16_t>(15060 - f * 370)});
    }
    t.ghost.push_back({0xFFFF, 0xFFFF});
    return t;
}

void DemoTracks() {
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        const Bytes track =
            trackgen::WriteTrack(trackgen::GenerateScene(seed, "demo" + std::to_string(seed)));
        SaveTrack("demo" + std::to_string(seed), track, std::to_string(seed % 7),
                  static_cast<int>(seed));
    }
}

void Extremes() {
    constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
    const std::int32_t wide[] = {0, -1, 1, kMin32, kMax32, 32767, -32768};
    const std::int16_t narrow[] = {0, -1, 1, -32768, 32767, 7, -3};

    const TrackContents base = SmallTrack();
    SaveTrack("small", trackgen::WriteTrack(base));
    for (const std::int32_t v : wide) {
        TrackContents t = base;
        t.landmapCount = v;
        SaveTrack("N_" + std::to_string(v), trackgen::WriteTrack(t));
        t = base;
        t.trailerOffset = v;
        SaveTrack("R_" + std::to_string(v), trackgen::WriteTrack(t));
    }
    for (const std::int16_t v : narrow) {
        TrackContents t = base;
        t.objectCount = v;
        SaveTrack("M_" + std::to_string(v), trackgen::WriteTrack(t));
        t = base;
        t.ghostLength = v;
        SaveTrack("G_" + std::to_string(v), trackgen::WriteTrack(t));
    }
    // Trailer offsets that put the author or the track length before the file.
    for (const std::int32_t r : {0, 4, 535, 536, 537}) {
        TrackContents t = base;
        t.trailerOffset = r;
        SaveTrack("R_small_" + std::to_string(r), trackgen::WriteTrack(t));
    }
    // Wrong version or mark, and too short for a header.
    TrackContents t = base;
    t.mark = "V";
    SaveTrack("mark_V", trackgen::WriteTrack(t));
    t = base;
    t.version = 1281;
    SaveTrack("version_1281", trackgen::WriteTrack(t));
    for (std::size_t n : {0, 1, 2, 4, 19, 20, 21, 22}) {
        const Bytes whole = trackgen::WriteTrack(base);
        SaveTrack("head_" + std::to_string(n), Bytes(whole.begin(), whole.begin() + n));
    }
}

// Files cut exactly where a section ends, and one byte before.
void SectionEnds() {
    const TrackContents t = SmallTrack();
    const Bytes whole = trackgen::WriteTrack(t);
    const trackgen::TrackLayout l = trackgen::LayoutOf(t);
    struct End {
        const char* name;
        std::int64_t at;
    };
    const std::int64_t r = l.trailer;
    const End ends[] = {
        {"landmap", l.heightMap},
        {"heights", l.objects},
        {"objects", l.objects + 2 + 8 * static_cast<std::int64_t>(t.objects.size())},
        {"author", r - 506},
        {"length", r},
        {"times", r + 14},
        {"names", r + 105},
        {"car0", r + 105 + 1344},
        {"car5", r + 105 + 1344 * 6},
        {"car6", r + 105 + 1344 * 7},
        {"date", r + 9529},
        {"ghostcount", r + 9627},
        {"ghost", l.end},
    };
    for (const End& e : ends) {
        SaveTrack(std::string("end_") + e.name, Bytes(whole.begin(), whole.begin() + e.at), "6");
        SaveTrack(std::string("short_") + e.name, Bytes(whole.begin(), whole.begin() + e.at - 1),
                  "6");
    }
}

// A head of a track that the stretch flags of fuzz_whole fill up to
// 1,000,000 bytes with its last 8 or 12 bytes: the large cases stay small.
Bytes Head(std::int32_t n, std::int32_t r, std::uint8_t worldSize) {
    Bytes b(22 + 4096, 0);
    Put16(b, 0, 261);
    b[2] = 'V';
    b[3] = 'T';
    Put32(b, 4, r);
    b[8] = worldSize;
    b[9] = 255;  // every cell under water
    Put32(b, 16, n);
    return b;
}

void HangGuard() {
    constexpr int kStretch = 0x08, kFill8 = 0x20, kFill12 = 0x40;
    // Landmap count 2^31 - 1, so 2^31 pairs: runs of 0 to the end of the file,
    // then runs that fill the picture.
    {
        Bytes b = Head(std::numeric_limits<std::int32_t>::max(), -1, 100);
        b.resize(b.size() + 8, 0);
        Save("fuzz_whole", "hang_landmap_2g_empty", WithOptions(b, "0", 0, kStretch | kFill8));
        for (std::size_t i = 20; i < b.size(); i += 2) {
            b[i] = 0xF5;
            b[i + 1] = 0x00;
        }
        Save("fuzz_whole", "hang_landmap_2g_runs", WithOptions(b, "0", 0, kStretch | kFill8));
        Save("fuzz_parse", "hang_landmap_2g", WithMode(b, 0xFF));
    }
    // 32,767 object records, all large halls on the middle of the map, and
    // (in the seeds only, 262 KB) 32,767 different ones. World size 13 gives
    // the largest halls that still pass the margin test; turned by 61 steps
    // their long sides run the height of the picture, the slowest case seen.
    for (const std::uint8_t ws : {13, 15, 100, 255}) {
        const std::uint8_t heading = ws == 13 ? 61 : 40;
        Bytes b = Head(0, std::numeric_limits<std::int32_t>::max(), ws);
        b.resize(b.size() + 2, 0);
        Put16(b, 4118, 32767);
        for (const int type : {17, 18}) {
            Bytes records = b;
            for (int j = 0; j < 4; ++j) {
                const Bytes record = {
                    static_cast<std::uint8_t>(type), 0, 0x00, 0x02, 0x00, 0x02, 0, heading};
                records.insert(records.end(), record.begin(), record.end());
            }
            Save("fuzz_whole",
                 "hang_objects_32767_ws" + std::to_string(ws) + "_t" + std::to_string(type),
                 WithOptions(records, "9", 0, kStretch | kFill8 | 2));
        }
        Bytes distinct = b;
        for (int j = 0; j < 32767; ++j) {
            const int x = 2 * (20 + (j * 37) % 470), y = 2 * (20 + (j * 101) % 470);
            const Bytes record = {static_cast<std::uint8_t>(j % 3 == 0 ? 18 : 17),
                                  0,
                                  static_cast<std::uint8_t>(x & 0xFF),
                                  static_cast<std::uint8_t>(x >> 8),
                                  static_cast<std::uint8_t>(y & 0xFF),
                                  static_cast<std::uint8_t>(y >> 8),
                                  0,
                                  static_cast<std::uint8_t>(j * 7)};
            distinct.insert(distinct.end(), record.begin(), record.end());
        }
        Save("fuzz_whole", "hang_objects_distinct_ws" + std::to_string(ws),
             WithOptions(distinct, "0", 0, 4));
    }
    // A huge N: the objects section lies far outside the file.
    Save("fuzz_whole", "hang_objects_huge_n",
         WithOptions(Head(0x40000000, 30000, 100), "1", 0, kStretch | kFill8));
    // 16,383 ghost frames drawn as dots: the trailer at 9,000 puts the ghost
    // count at 18,625; the stretch repeats one frame after it.
    {
        Bytes b = Head(0, 9000, 100);
        b.resize(9000 + 9627, 0);
        Put16(b, 9000 + 2, 5432);  // place 1 has a time, so the ghost is drawn
        Put16(b, 9000 + 9625, 32767);
        const Bytes frame = {0x10, 0x27, 0, 0, 0x10, 0x27, 0, 0, 0, 0, 0, 0};  // x = y = 10000
        b.insert(b.end(), frame.begin(), frame.end());
        Save("fuzz_whole", "hang_ghost_16383", WithOptions(b, "2", 0, kStretch | kFill12 | 4));
        Save("fuzz_parse", "hang_ghost_16383", WithMode(b, 0xFF));
    }
    // The longest file the load takes, and one byte more.
    Save("fuzz_parse", "stretch_1000000", WithMode(trackgen::WriteTrack(SmallTrack()), 0xFF));
    Save("fuzz_parse", "stretch_1000001", WithMode(trackgen::WriteTrack(SmallTrack()), 0xFE));
}

void CarNumbers() {
    const std::string answers[] = {"3",
                                   " +2abc",
                                   "$6",
                                   "%101",
                                   "-1",
                                   "7",
                                   "12",
                                   "",
                                   "abc",
                                   "\t\t-$FFFFFFFF",
                                   "$fFfF0000000000000006",
                                   "99999999999999999999999",
                                   "4294967296",
                                   "%" + std::string(70, '1'),
                                   "+",
                                   "-",
                                   "$",
                                   "%2",
                                   "-%1",
                                   "+$g",
                                   std::string("4\0"
                                               "5",
                                               3)};
    int i = 0;
    for (const std::string& a : answers) {
        Save("fuzz_car_number", "answer_" + std::to_string(i++), Bytes(a.begin(), a.end()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seeds OUTPUT_DIRECTORY\n";
        return 1;
    }
    out = argv[1];
    DemoTracks();
    Extremes();
    SectionEnds();
    HangGuard();
    CarNumbers();
    std::cerr << "make_seeds: " << written << " seeds in " << out.string() << "\n";
    return 0;
}
