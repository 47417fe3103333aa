// Writes a gallery's index of N made-up tracks into SITE, without their
// pages, for timing the index in a browser:  index_fixture SITE N
#include <cstdlib>
#include <iostream>
#include <string>

#include "gallery/site_files.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: index_fixture SITE N\n";
        return 1;
    }
    char* end = nullptr;
    const long count = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || count < 0 || count > 1'000'000) {
        std::cerr << "index_fixture: N is a count of tracks\n";
        return 1;
    }
    std::vector<gallery::Entry> site;
    for (int k = 0; k < static_cast<int>(count); ++k) {
        gallery::Entry entry;
        entry.given = "tracks/track" + std::to_string(k) + ".trk";
        entry.pictureName = "track" + std::to_string(k);
        entry.author = "author " + std::to_string(k % 97);
        // Every time from 20.00 s on, in no order.
        entry.place1Time = static_cast<std::int16_t>(2000 + (k * 7919) % 7000);
        entry.place1Driver = "driver " + std::to_string(k % 13);
        entry.bestTime = static_cast<std::int16_t>(entry.place1Time - 10);
        entry.worldSize = 200 + k % 50;
        entry.objects = k % 300;
        entry.trackLength = 9000 + k % 4000;
        entry.ghostFrames = 1500 + k % 700;
        entry.date = {2003,
                      static_cast<std::int16_t>(1 + k % 12),
                      static_cast<std::int16_t>(1 + k % 28),
                      12,
                      30,
                      0};
        entry.drivers.assign(7, entry.place1Driver);
        entry.cars.assign(7, "car");
        site.push_back(std::move(entry));
    }
    gallery::SortForSite(site);
    gallery::NamePages(site);
    gallery::SiteRun run = gallery::PlanSite(argv[1], "10,000 tracks", std::move(site));
    if (const platform::Result<> done = gallery::FinishSite(run); !done) {
        std::cerr << "index_fixture: " << done.reason() << "\n";
        return 1;
    }
    return 0;
}
