// Common ground for the picture tests: a loaded caption font and pixel access.
#pragma once

#include <functional>

#include "app/state.h"
#include "picture/picture.h"
#include "platform/surface.h"
#include "support/fixture.h"

class PictureTest : public ActionTest {
  protected:
    void SetUp() override {
        ActionTest::SetUp();
        picture::LoadCaptionFont();
    }

    static const platform::Picture& Shown() {
        return *platform::PictureHandle(picture::kTrackPicture);
    }
    static platform::Colour Pixel(int x, int y) { return Shown().At(x, y); }

    // Every pixel of the map area (rows 0..511) for which `test` holds.
    static std::vector<std::pair<int, int>> MapPixelsWhere(
        const std::function<bool(platform::Colour)>& test) {
        std::vector<std::pair<int, int>> found;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (test(Pixel(x, y))) found.emplace_back(x, y);
            }
        }
        return found;
    }
};

inline constexpr platform::Colour kBand = platform::RgbColour(0, 100, 150);
