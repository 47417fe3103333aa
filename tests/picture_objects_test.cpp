#include <gtest/gtest.h>

#include <array>
#include <set>

#include "picture_support.h"
#include "raster/draw.h"
#include "trackgen/track_writer.h"

namespace {

using raster::Colour;
using raster::RgbColour;
using trackgen::ObjectRecord;
using trackgen::TrackContents;

const Colour kDot = RgbColour(246, 251, 254);
const Colour kSquare = RgbColour(160, 160, 160);
const Colour kOutline = RgbColour(170, 170, 170);
const Colour kFill = RgbColour(180, 180, 180);

class ObjectsOverlay : public PictureTest {
  protected:
    // A track of bare background with these objects, drawn.
    void Draw(std::vector<ObjectRecord> objects, std::uint8_t worldSize = 100) {
        TrackContents t;
        t.worldSize = worldSize;
        t.objects = std::move(objects);
        Build(t);
        picture::DrawObjects(shown, Track());
    }
    // Where `colour` lies in the map, or down to row `rows` - 1.
    std::set<std::pair<int, int>> Where(Colour colour, int rows = 512) const {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (Pixel(x, y) == colour) found.insert({x, y});
            }
        }
        return found;
    }
    static std::set<std::pair<int, int>> Box(int x0, int y0, int x1, int y1) {
        std::set<std::pair<int, int>> box;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) box.insert({x, y});
        }
        return box;
    }
};

TEST_F(ObjectsOverlay, DotsAndSquaresAtTheMargins) {
    Draw({{10, 2, 2, 0},       // column 1, row 510
          {10, 0, 500, 0},     // column 0: not drawn
          {10, 1022, 500, 0},  // column 511: not drawn
          {10, 500, 1022, 0},  // row 0: not drawn
          {10, -1, 400, 0},    // column 0 (toward zero): not drawn
          {10, 3, 400, 0}});   // column 1, row 311
    std::set<std::pair<int, int>> expected = Box(0, 509, 2, 511);
    expected.merge(Box(0, 310, 2, 312));
    EXPECT_EQ(Where(kDot), expected);

    Draw({{9, 200, 2, 0}});  // row 510: the square reaches the first caption row
    EXPECT_EQ(Where(kDot), Box(100, 510, 100, 510));
    std::set<std::pair<int, int>> square = Box(98, 508, 102, 512);
    square.erase({100, 510});
    EXPECT_EQ(Where(kSquare, 560), square);
}

TEST_F(ObjectsOverlay, LargeRectangleAtWorldSize100) {
    // Heading 0 points the front to the right; corners measured once from
    // the game's float steps: (334,224) (335,286) front, (176,225) (177,287) rear.
    Draw({{17, 512, 510, 0}});  // centre 256, 256
    const auto outline = Where(kOutline);
    for (const auto& corner : {std::pair{334, 224}, {335, 286}, {176, 225}, {177, 287}}) {
        EXPECT_TRUE(outline.contains(corner)) << corner.first << "," << corner.second;
    }
    int minX = 512, maxX = 0, minY = 560, maxY = 0;
    for (const auto& [x, y] : outline) {
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
        maxY = std::max(maxY, y);
    }
    EXPECT_EQ(minX, 176);
    EXPECT_EQ(maxX, 335);
    EXPECT_EQ(minY, 224);
    EXPECT_EQ(maxY, 287);
    // The fill covers the inside and nothing outside the outline's box.
    const auto fill = Where(kFill);
    EXPECT_TRUE(fill.contains({256, 256}));
    EXPECT_GT(fill.size(), 150u * 58u);
    for (const auto& [x, y] : fill)
        ASSERT_TRUE(x > 176 && x < 335 && y > 224 && y < 287) << x << "," << y;
}

TEST_F(ObjectsOverlay, FillStaysInsideSlantedOutlines) {
    for (const std::uint8_t heading : std::array<std::uint8_t, 5>{20, 35, 90, 150, 200}) {
        Draw({{18, 512, 510, heading}, {17, 300, 300, heading}});
        const auto fill = Where(kFill);
        EXPECT_TRUE(fill.contains({256, 256})) << int{heading};
        // Each rectangle holds about 62 x 158 pixels; a leak would flood the map.
        EXPECT_GT(fill.size(), 2u * 56u * 150u) << int{heading};
        EXPECT_LT(fill.size(), 2u * 64u * 162u) << int{heading};
        EXPECT_EQ(Pixel(0, 0), kBand);
        EXPECT_EQ(Pixel(511, 511), kBand);
    }
}

TEST_F(ObjectsOverlay, OverlappingHallsDrawAsEachOutlineAndFillInTurn) {
    // Heading 0 at world size 100 puts the corners at these offsets.
    const auto draw = [](raster::Picture& p, int px, int py) {
        const Colour grey = kOutline;
        raster::DrawLine(p, px + 78, py - 32, px + 79, py + 30, grey);
        raster::DrawLine(p, px - 80, py - 31, px - 79, py + 31, grey);
        raster::DrawLine(p, px + 78, py - 32, px - 80, py - 31, grey);
        raster::DrawLine(p, px + 79, py + 30, px - 79, py + 31, grey);
        raster::FloodFill(p, px, py, grey, kFill);
    };
    // Inside an earlier fill, overlapping, apart, the same again, and with
    // the centre on an earlier outline.
    const std::vector<std::pair<int, int>> centres = {{256, 256}, {262, 259}, {300, 300},
                                                      {150, 420}, {256, 256}, {334, 224}};
    std::vector<ObjectRecord> records;
    for (const auto& [px, py] : centres) {
        records.push_back(
            {17, static_cast<std::int16_t>(2 * px), static_cast<std::int16_t>(2 * (511 - py)), 0});
    }
    // Water drawn between two presses inside the first hall: the second
    // press fills over it again.
    TrackContents t;
    t.objects = records;
    t.waterLevel = 10;
    t.heights.fill(20);
    t.heights[64 * 33 + 25] = 0;  // x 200..207, y 240..247
    Build(t);                     // the same caption as Draw()'s
    picture::DrawObjects(shown, Track());
    picture::DrawWater(shown, Track());
    picture::DrawObjects(shown, Track());
    const auto drawn = shown.pixels;

    Draw({});
    for (const auto& [px, py] : centres) draw(shown, px, py);
    raster::FillBox(shown, 200, 240, 8, 8, RgbColour(0, 64, 255));
    for (const auto& [px, py] : centres) draw(shown, px, py);
    EXPECT_TRUE(shown.pixels == drawn);
}

TEST_F(ObjectsOverlay, HeadingsWrapAfter244Steps) {
    Draw({{17, 512, 510, 0}, {2, 200, 200, 10}});
    const auto first = shown.pixels;
    Draw({{17, 512, 510, 244}, {2, 200, 200, 254}});
    EXPECT_EQ(shown.pixels, first);
    Draw({{17, 512, 510, 61}, {2, 200, 200, 10}});  // a quarter turn
    EXPECT_NE(shown.pixels, first);
}

TEST_F(ObjectsOverlay, MarginTestUsesTheHalfWidth) {
    // World size 100: half width 31 for the large rectangles.
    Draw({{17, 62, 510, 0}});  // column 31
    EXPECT_EQ(Pixel(31, 256), kFill);
    Draw({{17, 60, 510, 0}});  // column 30
    EXPECT_TRUE(Where(kOutline).empty());
    Draw({{17, 958, 510, 0}});  // column 479
    EXPECT_EQ(Pixel(479, 256), kFill);
    Draw({{17, 960, 510, 0}});  // column 480
    EXPECT_TRUE(Where(kOutline).empty());
}

TEST_F(ObjectsOverlay, SmallRectanglesCollapseToLinesAtWorldSize255) {
    // Half width 0, half length 6: a line through the centre.
    Draw({{2, 512, 510, 0}}, 255);
    const auto red = Where(RgbColour(255, 0, 0));
    EXPECT_TRUE(red.contains({250, 256}));
    EXPECT_TRUE(red.contains({262, 255}));
    EXPECT_LE(red.size(), 14u);
    for (const auto& [x, y] : red) EXPECT_TRUE(y == 255 || y == 256) << x << "," << y;

    // Margin 0: column 0 passes, and the colours follow the type.
    Draw({{1, 0, 510, 0}, {3, 200, 200, 0}, {23, 300, 300, 0}}, 255);
    EXPECT_FALSE(Where(RgbColour(255, 255, 255)).empty());
    EXPECT_FALSE(Where(RgbColour(255, 255, 0)).empty());
    EXPECT_FALSE(Where(RgbColour(150, 140, 100)).empty());
}

TEST_F(ObjectsOverlay, SmallRectangleAtWorldSize100) {
    Draw({{3, 512, 510, 0}});  // half width 2, half length 15
    const auto yellow = Where(RgbColour(255, 255, 0));
    for (const auto& corner : {std::pair{270, 253}, {271, 257}, {240, 254}, {241, 258}}) {
        EXPECT_TRUE(yellow.contains(corner)) << corner.first << "," << corner.second;
    }
    EXPECT_FALSE(yellow.contains({256, 256}));  // outline only
}

TEST_F(ObjectsOverlay, WorldSizeZeroDrawsOnlyDotsAndSquares) {
    Draw({{17, 512, 510, 0}, {1, 300, 300, 0}, {10, 100, 100, 0}}, 0);
    EXPECT_TRUE(Where(kOutline).empty());
    EXPECT_TRUE(Where(RgbColour(255, 255, 255)).empty());
    EXPECT_EQ(Where(kDot).size(), 9u);
}

TEST_F(ObjectsOverlay, RecordsBeyondTheFileAreSkipped) {
    TrackContents t;
    std::vector<std::uint8_t> bytes = trackgen::WriteTrack(t);
    // Move the objects section to the end of the file: its count says 5,
    // but only the first record follows.
    if ((bytes.size() - 4118) % 2 != 0) bytes.push_back(0);
    const auto n = static_cast<std::int32_t>((bytes.size() - 4118) / 2);
    for (int i = 0; i < 4; ++i) bytes[16 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    const std::vector<std::uint8_t> section = {5, 0, 10, 0, 200, 0, 200, 0, 0, 0};
    bytes.insert(bytes.end(), section.begin(), section.end());
    parsed.emplace(bytes);
    ASSERT_FALSE(Track().Refused());
    ASSERT_EQ(Track().objectCount, 5);
    shown = PictureOf(Track());
    picture::DrawObjects(shown, Track());
    EXPECT_EQ(Where(kDot), Box(99, 410, 101, 412));
}

}  // namespace
