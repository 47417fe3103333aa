// Common ground for the picture tests: a track's picture built by the core,
// and pixel access.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "raster/colour.h"
#include "support/core.h"

class PictureTest : public ::testing::Test {
  protected:
    // Parses `contents` and builds its picture.
    void Build(const trackgen::TrackContents& contents) {
        parsed.emplace(contents);
        shown = PictureOf(**parsed);
    }
    const track::Track& Track() const { return **parsed; }

    raster::Colour Pixel(int x, int y) const { return shown.At(x, y); }

    // Every pixel of the map area (rows 0..511) for which `test` holds.
    std::vector<std::pair<int, int>> MapPixelsWhere(
        const std::function<bool(raster::Colour)>& test) const {
        std::vector<std::pair<int, int>> found;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (test(Pixel(x, y))) found.emplace_back(x, y);
            }
        }
        return found;
    }

    std::optional<ParsedTrack> parsed;
    raster::Picture shown;
};

inline constexpr raster::Colour kBand = raster::RgbColour(0, 100, 150);
