#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "chart/chart.h"
#include "support/core.h"
#include "support/laps.h"
#include "support/run_command.h"

namespace {

TEST(Chart, FormatsAreTakenFromTheExtension) {
    EXPECT_EQ(chart::FormatOf("a.PNG"), chart::Format::kPng);
    EXPECT_EQ(chart::FormatOf("dir.x/b.svg"), chart::Format::kSvg);
    EXPECT_EQ(chart::FormatOf("c.Pdf"), chart::Format::kPdf);
    EXPECT_FALSE(chart::FormatOf("d.jpg"));
    EXPECT_FALSE(chart::FormatOf("png"));
}

// Each chart in each format is a file its kind's readers take: the PNG
// decodes at the chart's size, the SVG is well-formed XML, the PDF has one page.
TEST(Chart, EveryChartInEveryFormatReadsBack) {
    const ParsedTrack fast(LapTrack(kFastSquare));
    const ParsedTrack slow(LapTrack(kSlowSideSquare));
    const lap::Lap a = *lap::ReadLap(*fast);
    const lap::Lap b = *lap::ReadLap(*slow);
    const std::filesystem::path svg = std::filesystem::path(testing::TempDir()) / "chart_test.svg";
    struct Made {
        std::string name;
        std::function<platform::Result<std::string>(chart::Format)> make;
        png_uint_32 width, height;
    };
    const std::vector<Made> charts = {
        {"speed", [&](chart::Format f) { return chart::SpeedChart(a, f); }, 720, 300},
        {"compare",
         [&](chart::Format f) {
             return chart::CompareChart(*fast, {a, "fast.trk"}, {b, "slow.trk"}, f);
         },
         1200, 720},
    };
    for (const Made& c : charts) {
        SCOPED_TRACE(c.name);
        const platform::Result<std::string> png = c.make(chart::Format::kPng);
        ASSERT_TRUE(png) << png.reason();
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, png->data(), png->size()));
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        png_image_free(&image);

        const platform::Result<std::string> vector = c.make(chart::Format::kSvg);
        ASSERT_TRUE(vector);
        std::ofstream(svg, std::ios::binary) << *vector;
        EXPECT_EQ(RunCommand("xmllint --noout '" + svg.string() + "'").exitCode, 0);
        EXPECT_NE(vector->find("<svg"), std::string::npos);

        const platform::Result<std::string> pdf = c.make(chart::Format::kPdf);
        ASSERT_TRUE(pdf);
        EXPECT_TRUE(pdf->starts_with("%PDF-"));
        EXPECT_NE(pdf->find("/Count 1"), std::string::npos);
    }
    std::filesystem::remove(svg);
}

// A speed line is drawn through its bends only: a speed that wavers by a
// few hundredths of a pixel is one segment; where it changes, its corners stay.
TEST(Chart, SpeedLineKeepsOnlyItsBends) {
    const auto segments = [](const std::vector<trackgen::GhostFrame>& frames) {
        const ParsedTrack track(LapTrack(frames));
        const platform::Result<std::string> svg =
            chart::SpeedChart(*lap::ReadLap(*track), chart::Format::kSvg);
        EXPECT_TRUE(svg);
        // The line is the one path stroked 1.5 wide; its segments are its "L"s.
        const std::size_t at = svg->find("stroke-width:1.5;");
        const std::size_t from = svg->find(" d=\"", at);
        const std::string d = svg->substr(from, svg->find('"', from + 4) - from);
        return std::count(d.begin(), d.end(), 'L');
    };
    std::vector<Leg> wavering;  // 300 units a second, then 299.96
    for (int k = 0; k < 6; ++k) wavering.insert(wavering.end(), {{300, 0, 1}, {24, 299, 1}});
    EXPECT_EQ(segments(Walk({3000, 3000}, wavering)), 1);
    // 300 units a second, down to 100 on the right side and up again: the
    // line's four corners, or near them, are kept.
    EXPECT_GE(segments(kSlowSideSquare), 3);
}

}  // namespace
