#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "picture_support.h"
#include "trackgen/scene.h"

namespace {

using raster::Colour;
using raster::RgbColour;

using DemoScene = PictureTest;

TEST_F(DemoScene, SameSeedSameTrack) {
    EXPECT_EQ(trackgen::WriteTrack(trackgen::GenerateScene(11, "a")),
              trackgen::WriteTrack(trackgen::GenerateScene(11, "a")));
    EXPECT_NE(trackgen::WriteTrack(trackgen::GenerateScene(11, "a")),
              trackgen::WriteTrack(trackgen::GenerateScene(12, "a")));
}

// What makes a demo track look right: the ghost drives on the road, the
// water overlay finds the water the map shows, and every object type is
// there to draw.
TEST_F(DemoScene, GhostOnTheRoadAndWaterWhereTheMapShowsIt) {
    const Colour road = RgbColour(62, 62, 62), paleWater = RgbColour(220, 230, 239);
    const std::set<Colour> roadside = {road, RgbColour(179, 179, 179), RgbColour(255, 255, 255),
                                       RgbColour(255, 0, 0)};
    for (const std::uint64_t seed : {1, 2, 3, 4}) {
        const trackgen::TrackContents t = trackgen::GenerateScene(seed, "demo");
        Build(t);
        ASSERT_FALSE(Track().Refused());
        ASSERT_FALSE(Track().damaged);
        const raster::Picture bare = shown;

        ASSERT_GT(t.ghost.size(), 100u);
        const float scale = static_cast<float>(t.worldSize * 0.295);
        for (const auto& f : t.ghost) {
            const int x = static_cast<int>(std::lround(f.x / scale));
            const int y = 511 - static_cast<int>(std::lround(f.y / scale));
            ASSERT_TRUE(roadside.contains(bare.At(x, y)))
                << "seed " << seed << " at " << x << "," << y;
        }

        picture::DrawWater(shown, Track());
        int wetCells = 0, dryWater = 0;
        for (int r = 0; r < 64; ++r) {
            for (int c = 0; c < 64; ++c) {
                int pale = 0, paved = 0;
                for (int y = 504 - 8 * r; y < 512 - 8 * r; ++y) {
                    for (int x = 8 * c; x < 8 * c + 8; ++x) {
                        pale += bare.At(x, y) == paleWater;
                        paved += bare.At(x, y) == road;
                    }
                }
                const bool wet = Pixel(8 * c, 504 - 8 * r) == RgbColour(0, 64, 255);
                wetCells += wet;
                // Mostly water but dry to the overlay, unless a bridge crosses it.
                dryWater += !wet && pale > 40 && paved == 0;
            }
        }
        EXPECT_GT(wetCells, 20) << seed;
        EXPECT_EQ(dryWater, 0) << seed;

        std::set<int> types;
        for (const auto& o : t.objects) types.insert(o.type);
        EXPECT_TRUE(types.contains(10) && types.contains(9) && types.contains(23)) << seed;
        EXPECT_TRUE(types.contains(17) || types.contains(18)) << seed;
        EXPECT_TRUE(types.contains(1) || types.contains(2) || types.contains(3)) << seed;
        EXPECT_LT(t.placeTimes[0], 6000);
    }
}

}  // namespace
