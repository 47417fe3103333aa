#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>

#include "export/image_file.h"
#include "support/core.h"
#include "support/fixture.h"
#include "support/run_command.h"

namespace {

using raster::RgbColour;
using trackgen::TrackContents;

struct Decoded {
    bool ok = false;
    int bitDepth = 0, colourType = 0;
    raster::Picture picture;
};

// Read back with libpng's own reader; the header bytes say how it was stored.
Decoded ReadPng(const std::string& path) {
    Decoded d;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> head(26);
    if (!in.read(head.data(), 26)) return d;
    d.bitDepth = static_cast<unsigned char>(head[24]);
    d.colourType = static_cast<unsigned char>(head[25]);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return d;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return d;
    d.picture.width = static_cast<int>(image.width);
    d.picture.height = static_cast<int>(image.height);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        d.picture.pixels.push_back(RgbColour(rgb[i], rgb[i + 1], rgb[i + 2]));
    }
    d.ok = true;
    return d;
}

TrackContents Sample() {
    TrackContents t;
    t.landmap.assign(65, {0xF2, 0xFF});
    t.waterLevel = 20;
    t.heights.fill(30);
    t.heights[64 * 20 + 20] = 5;  // the cell of x 160..167, y 344..351
    t.objects = {{9, 328, 332, 0}, {17, 700, 700, 30}, {2, 200, 800, 40}, {10, 50, 50, 0}};
    t.placeTimes[0] = 5432;
    t.placeNames[0] = "Joe";
    t.carNames[1] = "Flash";
    for (int i = 0; i < 200; ++i)
        t.ghost.push_back({static_cast<std::uint16_t>(2000 + 60 * i), 7000});
    return t;
}

using TrkRender = ActionTest;

TEST_F(TrkRender, WritesThePictureWithItsOverlays) {
    const std::string track = WriteTrack("monza.trk", Sample());
    const std::string out = (scratch / "monza.png").string();
    const CommandResult r =
        RunTrk("render '" + track + "' --ghost --water --objects -o '" + out + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The one rule for pictures written to a file, JPEG and PNG alike.
    EXPECT_EQ(r.err, "monza_5432_Joe\nImage saved\n");
    const Decoded d = ReadPng(out);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.bitDepth, 8);
    EXPECT_EQ(d.colourType, PNG_COLOR_TYPE_RGB);
    ASSERT_EQ(d.picture.width, 512);
    ASSERT_EQ(d.picture.height, 560);

    // The core gives the same pixels.
    const ParsedTrack parsed(Sample());
    raster::Picture expected = PictureOf(*parsed, "monza");
    picture::DrawGhost(expected, *parsed);
    picture::DrawWater(expected, *parsed);
    picture::DrawObjects(expected, *parsed);
    EXPECT_TRUE(d.picture.pixels == expected.pixels);

    // Without -o or -d, --format png names the picture here as JPEG does;
    // it failed with "trk: : no file name given".
    const CommandResult here = RunCommand("cd '" + scratch.string() + "' && '" + TA_TRK_BINARY +
                                          "' render monza.trk --format png");
    EXPECT_EQ(here.exitCode, 0) << here.err;
    EXPECT_EQ(here.err, "monza_5432_Joe\nImage saved\n");
    EXPECT_TRUE(ReadPng((scratch / "monza_5432_Joe.png").string()).ok);
}

TEST_F(TrkRender, OverlaysFollowTheCommandLineOrder) {
    const std::string track = WriteTrack("order.trk", Sample());
    const std::string first = (scratch / "first.png").string();
    const std::string second = (scratch / "second.png").string();
    ASSERT_EQ(RunTrk("render '" + track + "' --water --objects -o '" + first + "'").exitCode, 0);
    ASSERT_EQ(RunTrk("render '" + track + "' --objects --water -o '" + second + "'").exitCode, 0);
    // The square of the type-9 object at (164, 345) lies in the water cell.
    EXPECT_EQ(ReadPng(first).picture.At(164, 345), RgbColour(246, 251, 254));
    EXPECT_EQ(ReadPng(second).picture.At(164, 345), RgbColour(0, 64, 255));
}

TEST_F(TrkRender, FailuresExitWithTheirCodesAndLeaveNoFile) {
    TrackContents refused = Sample();
    refused.version = 260;
    const std::string bad = WriteTrack("old.trk", refused);
    const std::string good = WriteTrack("good.trk", Sample());
    const std::string out = (scratch / "out.png").string();

    CommandResult r = RunTrk("render '" + bad + "' -o '" + out + "'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(out));

    r = RunTrk("render '" + (scratch / "missing.trk").string() + "' -o '" + out + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string nowhere = (scratch / "no" / "such" / "dir.png").string();
    r = RunTrk("render '" + good + "' -o '" + nowhere + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("dir.png"), std::string::npos) << r.err;

    r = RunTrk("render '" + good + "' -o '" + (scratch / "out.gif").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.gif"));
}

TEST_F(TrkRender, AFailedWriteRemovesOnlyItsOwnFile) {
    const raster::Picture picture = PictureOf(*ParsedTrack(Sample()));
    if (std::filesystem::exists("/dev/full")) {
        const platform::Result<> full =
            exporter::SaveImageFile("/dev/full", picture, exporter::kPng, {});
        EXPECT_FALSE(full);
        EXPECT_FALSE(full.reason().empty());
        EXPECT_TRUE(std::filesystem::exists("/dev/full"));
    }
    const platform::Result<> empty = exporter::SaveImageFile((scratch / "empty.png").string(),
                                                             raster::Picture{}, exporter::kPng, {});
    EXPECT_FALSE(empty);
    EXPECT_FALSE(empty.reason().empty());
    EXPECT_FALSE(std::filesystem::exists(scratch / "empty.png"));
}

}  // namespace
