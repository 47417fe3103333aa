// The core keeps nothing between calls but what it is given: two tracks
// drawn at once on two threads, from the first use of the caption font on,
// give the same bytes as each drawn alone.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <thread>
#include <vector>

#include "export/car_file.h"
#include "export/image_file.h"
#include "picture/read_out.h"
#include "support/core.h"
#include "trackgen/scene.h"

namespace {

// Everything the core makes of a track, overlays in the order of `round`.
std::vector<std::string> Outputs(const track::Track& t, int round, std::span<std::uint8_t> image,
                                 raster::Picture& picture) {
    std::vector<std::string> out;
    for (const std::string& line : track::ListingLines(t)) out.push_back(line);
    const picture::Caption caption = picture::CaptionFor(t, "track");
    picture::BuildPicture(t, caption, picture::CaptionFont(), image, picture);
    if (round % 2 == 0) {
        picture::DrawObjects(picture, t);
        picture::DrawWater(picture, t);
        picture::DrawGhost(picture, t);
    } else {
        picture::DrawGhost(picture, t);
        picture::DrawObjects(picture, t);
    }
    out.emplace_back(exporter::ImageBytes(picture, exporter::Jpeg()).value());
    out.emplace_back(exporter::ImageBytes(picture, exporter::kPng).value());
    const auto car = exporter::CarFile(t, round % 7).value();
    out.emplace_back(car.begin(), car.end());
    out.push_back(picture::ReadOutText(picture::InfoAt(t, 200, 300)));
    return out;
}

TEST(Threads, TwoTracksDrawnAtOnceGiveTheSameBytesAsEachAlone) {
    const ParsedTrack tracks[] = {ParsedTrack(trackgen::GenerateScene(3, "lake")),
                                  ParsedTrack(trackgen::GenerateScene(8, "hills"))};
    constexpr int kRounds = 12;
    std::vector<std::vector<std::string>> together[2];
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < 2; ++i) {
            threads.emplace_back([&, i] {
                std::vector<std::uint8_t> image(picture::kImageSize);
                raster::Picture picture;
                for (int round = 0; round < kRounds; ++round)
                    together[i].push_back(Outputs(*tracks[i], round, image, picture));
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    for (int i = 0; i < 2; ++i) {
        std::vector<std::uint8_t> image(picture::kImageSize);
        raster::Picture picture;
        for (int round = 0; round < kRounds; ++round) {
            ASSERT_EQ(together[i][round], Outputs(*tracks[i], round, image, picture))
                << "track " << i << ", round " << round;
        }
    }
    EXPECT_NE(together[0][0], together[1][0]);
}

}  // namespace
