#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdio>
#include <fstream>

#include "app/save_image.h"
#include "app/state.h"
#include "app/status_log.h"
#include "app/window_layout.h"
#include "export/image_file.h"
#include "platform/image_codec.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/surface.h"
#include "platform/windowing.h"
#include "raster/draw.h"
#include "shell/dispatch.h"
#include "support/bitmap.h"
#include "support/fixture.h"
#include "support/jpeg_decode.h"
#include "support/png_decode.h"
#include "support/run_command.h"

namespace {

using raster::RgbColour;

constexpr int kWidth = 512;
constexpr int kHeight = 560;

std::array<int, 3> PixelAt(const DecodedJpeg& d, int x, int y) {
    const std::uint8_t* p = &d.rgb[(static_cast<std::size_t>(y) * d.width + x) * 3];
    return {p[0], p[1], p[2]};
}

// A 512 x 560 picture 1 of our own: grey, a red band along the top, a blue
// band along the bottom and a green block at the left edge.
void MakePicture() {
    const auto bmp =
        EightBitBitmap(kWidth, kHeight, 0, [](int) { return RgbColour(128, 128, 128); });
    ASSERT_TRUE(platform::PictureFromBitmap(1, bmp));
    raster::Picture& p = *platform::BeginDrawing(1);
    raster::FillBox(p, 0, 0, kWidth, 40, RgbColour(255, 0, 0));
    raster::FillBox(p, 0, kHeight - 40, kWidth, 40, RgbColour(0, 0, 255));
    raster::FillBox(p, 0, 200, 64, 64, RgbColour(0, 255, 0));
    platform::EndDrawing();
}

class JpegExport : public ActionTest {
  protected:
    void SetUp() override {
        ActionTest::SetUp();
        app::EnterJpegEncoder();
    }
    void Save(const std::string& answer) {
        ui.answers.push_back(answer);
        shell::RunButton(app::kSaveButton);
    }
    std::string Path(const std::string& name) const { return (scratch / name).string(); }
};

TEST_F(JpegExport, WritesThePictureTopRowFirstInRedGreenBlue) {
    MakePicture();
    app::state.PictureName = "monza 54.32";
    const std::string path = Path("out.jpg");
    Save(path);

    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].kind, "save");
    EXPECT_EQ(ui.dialogs[0].title, "Save Image");
    EXPECT_EQ(ui.dialogs[0].filterOrPrompt, "jpg|*.jpg");
    EXPECT_EQ(ui.dialogs[0].defaultText, platform::CurrentDirectory() + "monza 54.32.jpg");
    EXPECT_EQ(NewestStatusLine(), "Image saved");

    DecodedJpeg d;
    ASSERT_TRUE(DecodeJpeg(path, d));
    EXPECT_EQ(d.width, kWidth);
    EXPECT_EQ(d.height, kHeight);
    EXPECT_EQ(d.components, 3);
    EXPECT_FALSE(d.progressive);
    EXPECT_EQ(d.colourSpace, JCS_YCbCr);
    const auto near = [](const std::array<int, 3> got, const std::array<int, 3> want) {
        for (int i = 0; i < 3; ++i)
            if (std::abs(got[i] - want[i]) > 24) return false;
        return true;
    };
    EXPECT_TRUE(near(PixelAt(d, 100, 10), {255, 0, 0}));
    EXPECT_TRUE(near(PixelAt(d, 100, kHeight - 10), {0, 0, 255}));
    EXPECT_TRUE(near(PixelAt(d, 20, 230), {0, 255, 0}));
    EXPECT_TRUE(near(PixelAt(d, 300, 300), {128, 128, 128}));
}

TEST_F(JpegExport, IndependentDecoderReadsTheFile) {
    if (RunCommand("command -v djpeg").exitCode != 0) GTEST_SKIP() << "djpeg not installed";
    MakePicture();
    const std::string path = Path("picture.jpg");
    Save(path);
    const std::string ppm = Path("picture.ppm");
    const CommandResult r = RunCommand("djpeg -pnm -outfile '" + ppm + "' '" + path + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(ppm, std::ios::binary);
    std::string header(15, '\0');
    in.read(header.data(), 15);
    EXPECT_EQ(header, "P6\n512 560\n255\n");
    // Top-left is red, as the picture's top band.
    unsigned char pixel[3] = {};
    in.read(reinterpret_cast<char*>(pixel), 3);
    EXPECT_GT(pixel[0], 200);
    EXPECT_LT(pixel[2], 60);
}

TEST_F(JpegExport, QualityIsSeventyUnlessTheCommandLineOverridesIt) {
    MakePicture();
    DecodedJpeg d;
    Save(Path("seventy.jpg"));
    ASSERT_TRUE(DecodeJpeg(Path("seventy.jpg"), d));
    EXPECT_EQ(d.quant, ReferenceTables(70));

    app::state.JpegQuality = 35;
    Save(Path("thirtyfive.jpg"));
    ASSERT_TRUE(DecodeJpeg(Path("thirtyfive.jpg"), d));
    EXPECT_EQ(d.quant, ReferenceTables(35));

    // The level is clamped to 0..10 before it becomes the quality.
    app::state.JpegQuality = 0;
    const raster::Picture grey{5, 3, raster::Pixels(15, RgbColour(200, 200, 200)), {}};
    ASSERT_TRUE(app::EncodeJpeg(Path("high.jpg"), grey, 14));
    ASSERT_TRUE(DecodeJpeg(Path("high.jpg"), d));
    EXPECT_EQ(d.quant, ReferenceTables(100));
    ASSERT_TRUE(app::EncodeJpeg(Path("low.jpg"), grey, -2));
    ASSERT_TRUE(DecodeJpeg(Path("low.jpg"), d));
    EXPECT_EQ(d.quant, ReferenceTables(0));
}

TEST_F(JpegExport, FullDiskFailsCleanlyAndTheProcessLivesOn) {
    MakePicture();
    Save("/dev/full");
    EXPECT_EQ(NewestStatusLine().rfind("Image not saved", 0), 0u) << NewestStatusLine();
    EXPECT_EQ(StatusText().find("Image saved"), std::string::npos);
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);  // a device is never removed
    EXPECT_TRUE(S_ISCHR(device.st_mode));

    // A file that cannot be created is reported as well; and the next save works.
    Save(Path("no-such-folder/out.jpg"));
    EXPECT_EQ(NewestStatusLine().rfind("Image not saved", 0), 0u);
    Save(Path("after.jpg"));
    EXPECT_EQ(NewestStatusLine(), "Image saved");
}

TEST_F(JpegExport, LibraryErrorLeavesNoPartialFile) {
    // Too wide for baseline JPEG: libjpeg stops inside jpeg_start_compress.
    const raster::Picture wide{70000, 1, raster::Pixels(70000, 0), {}};
    const std::string path = Path("wide.jpg");
    const platform::Result<> encoded = exporter::SaveImageFile(path, wide, exporter::Jpeg(), {});
    EXPECT_FALSE(encoded);
    EXPECT_NE(encoded.reason(), "");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(JpegExport, NothingDrawnYetWritesNothingAndSaysNothing) {
    app::state.StatusMessage = "before";
    app::PostStatus();
    const std::string log = StatusText();
    Save(Path("empty.jpg"));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].defaultText, platform::CurrentDirectory() + ".jpg");
    EXPECT_FALSE(std::filesystem::exists(Path("empty.jpg")));
    EXPECT_EQ(StatusText(), log);

    Save("");  // cancelled
    EXPECT_EQ(StatusText(), log);
}

TEST_F(JpegExport, NameIsUsedExactlyAndAnExistingFileIsReplaced) {
    MakePicture();
    const std::string path = Path("noextension");
    trackgen::SaveFile(path, std::vector<std::uint8_t>(2'000'000, 0xAB));
    Save(path);
    DecodedJpeg d;
    ASSERT_TRUE(DecodeJpeg(path, d));
    EXPECT_LT(std::filesystem::file_size(path), 2'000'000u);
    EXPECT_FALSE(std::filesystem::exists(path + ".jpg"));
}

TEST_F(JpegExport, PictureNameThatCannotBeAFileNameGivesAnEmptyInitialName) {
    app::state.PictureName = "a/b 12.34";
    Save("");
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].defaultText, platform::CurrentDirectory());
}

TEST_F(JpegExport, UnknownEncoderAndSecondEntryChangeNothing) {
    MakePicture();
    app::EnterEncoder(app::kJpegEncoderId,
                      [](const std::string&, const raster::Picture&, int) -> platform::Result<> {
                          return platform::Fail("replaced");
                      });
    EXPECT_TRUE(app::SaveImage(1, Path("a.jpg"), app::kJpegEncoderId).value());
    const auto unknown = app::SaveImage(1, Path("b.png"), 0x20474E50);
    EXPECT_FALSE(unknown);
    EXPECT_NE(unknown.reason(), "");
    EXPECT_FALSE(std::filesystem::exists(Path("b.png")));
    EXPECT_EQ(app::kJpegEncoderId, 0x4745504Au);
}

// The library reads the blue-green-red rows in place, so an odd width (rows
// padded to four bytes) must neither shift a row nor show the padding.
TEST_F(JpegExport, OddWidthsKeepEveryRowAndColour) {
    for (int width = 1; width <= 9; ++width) {
        const auto bmp = EightBitBitmap(width, 16, 0, [](int) { return 0; });
        ASSERT_TRUE(platform::PictureFromBitmap(1, bmp));
        raster::Picture& p = *platform::BeginDrawing(1);
        raster::FillBox(p, 0, 0, width, 8, RgbColour(220, 40, 60));
        raster::FillBox(p, 0, 8, width, 8, RgbColour(30, 90, 200));
        platform::EndDrawing();
        const std::string path = Path("odd" + std::to_string(width) + ".jpg");
        ASSERT_TRUE(app::SaveImage(1, path, app::kJpegEncoderId).value());
        DecodedJpeg d;
        ASSERT_TRUE(DecodeJpeg(path, d));
        ASSERT_EQ(d.width, width);
        for (int x = 0; x < width; ++x) {
            for (const auto& [y, want] :
                 {std::pair{1, std::array{220, 40, 60}}, std::pair{14, std::array{30, 90, 200}}}) {
                const auto got = PixelAt(d, x, y);
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(got[c], want[c], 12)
                        << "width " << width << " x " << x << " y " << y;
            }
        }
    }
}

platform::PictureRef handed = nullptr;
int handedLevel = 0;

// The encoders read the stored picture in place; nothing is copied for them.
TEST_F(JpegExport, AnEncoderIsHandedThePictureItselfAndTheSaveLevel) {
    MakePicture();
    app::EnterEncoder(
        0x54534554,
        [](const std::string&, const raster::Picture& picture, int level) -> platform::Result<> {
            handed = &picture;
            handedLevel = level;
            return {};
        });
    ASSERT_TRUE(app::SaveImage(1, Path("copy"), 0x54534554).value());
    EXPECT_EQ(handed, platform::PictureHandle(1));
    EXPECT_EQ(handedLevel, app::kSaveImageLevel);
}

// The core's PNG holds the picture's pixels exactly, as bytes in memory too;
// so does the PNG of a drawing library's rows (0xXXRRGGBB, rows apart by
// more than their pixels), packed quickly or small.
TEST(ImageFile, PngBytesHoldThePictureExactly) {
    raster::Picture p{3, 2, raster::Pixels(6, RgbColour(10, 20, 30)), {}};
    p.pixels[4] = RgbColour(250, 0, 5);
    std::vector<std::uint32_t> xrgb(8, 0xFF0A141E);
    xrgb[5] = 0x00FA0005;
    xrgb[7] = 0x12345678;  // past the row's end
    const platform::XrgbRows rows{3, 2, 16, reinterpret_cast<const std::uint8_t*>(xrgb.data())};
    const platform::Result<std::string> made[] = {
        exporter::ImageBytes(p, exporter::kPng),
        platform::BytesWrittenBy([&](std::FILE* f) {
            return platform::WritePng(rows, f, platform::PngPacking::kQuick);
        }),
        platform::BytesWrittenBy([&](std::FILE* f) {
            return platform::WritePng(rows, f, platform::PngPacking::kSmall);
        }),
    };
    for (const auto& png : made) {
        ASSERT_TRUE(png) << png.reason();
        EXPECT_EQ(DecodePng(*png, PNG_FORMAT_RGB),
                  (std::vector<std::uint8_t>{10, 20, 30, 10, 20, 30, 10, 20, 30,  //
                                             10, 20, 30, 250, 0, 5, 10, 20, 30}));
    }
}

}  // namespace
