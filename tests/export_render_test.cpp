#include <gtest/gtest.h>
#include <png.h>

#include <cmath>

#include "app/state.h"
#include "support/fixture.h"
#include "support/jpeg_decode.h"
#include "support/run_command.h"

namespace {

using trackgen::TrackContents;
using TrkRenderJpeg = ActionTest;

TrackContents Sample() {
    TrackContents t;
    t.landmap.assign(65, {0xF2, 0xFF});
    t.objects = {{2, 200, 800, 40}, {2, 600, 300, 0}, {9, 328, 332, 0}};
    t.placeTimes[0] = 5432;
    t.placeNames[0] = "Joe";
    t.carNames[1] = "Flash";
    return t;
}

std::vector<std::uint8_t> ReadPngRgb(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    return rgb;
}

TEST_F(TrkRenderJpeg, MatchesThePngOfTheSamePictureWithinJpegLoss) {
    const std::string track = WriteTrack("t.trk", Sample());
    const std::string png = (scratch / "p.png").string();
    const std::string jpg = (scratch / "p.JPEG").string();
    ASSERT_EQ(RunTrk("render '" + track + "' --objects -o '" + png + "'").exitCode, 0);
    const CommandResult r = RunTrk("render '" + track + "' --objects -o '" + jpg + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    DecodedJpeg d;
    ASSERT_TRUE(DecodeJpeg(jpg, d));
    ASSERT_EQ(d.width, 512);
    ASSERT_EQ(d.height, 560);
    EXPECT_EQ(d.quant, ReferenceTables(70));
    const std::vector<std::uint8_t> reference = ReadPngRgb(png);
    ASSERT_EQ(reference.size(), d.rgb.size());

    double total = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) total += std::abs(reference[i] - d.rgb[i]);
    EXPECT_LT(total / static_cast<double>(reference.size()), 6.0);

    // Where the PNG shows the red objects, the JPEG leans red, not blue.
    double red = 0, blue = 0;
    int count = 0;
    for (std::size_t i = 0; i + 2 < reference.size(); i += 3) {
        if (reference[i] != 255 || reference[i + 1] != 0 || reference[i + 2] != 0) continue;
        red += d.rgb[i];
        blue += d.rgb[i + 2];
        ++count;
    }
    ASSERT_GT(count, 0);
    EXPECT_GT((red - blue) / count, 60.0);
}

TEST_F(TrkRenderJpeg, DefaultNameQualityAndFailures) {
    const std::string track = WriteTrack("monza.trk", Sample());
    Load(track);
    const std::string expected = app::state.PictureName + ".jpg";
    ASSERT_NE(app::state.PictureName, "");

    const std::string here =
        "cd '" + scratch.string() + "' && '" + TA_TRK_BINARY + "' render monza.trk";
    CommandResult r = RunCommand(here + " --quality 90");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    DecodedJpeg d;
    ASSERT_TRUE(DecodeJpeg((scratch / expected).string(), d)) << expected;
    EXPECT_EQ(d.quant, ReferenceTables(90));

    // A full disk, through a name the JPEG branch recognises.
    std::filesystem::create_symlink("/dev/full", scratch / "full.jpg");
    r = RunTrk("render '" + track + "' -o '" + (scratch / "full.jpg").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("trk: " + (scratch / "full.jpg").string() + ": "), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("Image saved"), std::string::npos);

    for (const char* q : {"0", "101"}) {
        r = RunTrk("render '" + track + "' --quality " + q + " -o '" +
                   (scratch / "q.jpg").string() + "'");
        EXPECT_EQ(r.exitCode, 1) << q;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "q.jpg"));
}

}  // namespace
