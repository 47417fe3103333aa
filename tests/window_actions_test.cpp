// The window's picture actions as thin callers of the core: what they keep
// in the record, post and show, and that they draw what the core draws.
#include <gtest/gtest.h>

#include "app/actions.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "picture/read_out.h"
#include "platform/surface.h"
#include "support/core.h"
#include "support/fixture.h"

namespace {

using trackgen::TrackContents;

TrackContents Sample() {
    TrackContents t;
    t.landmap = {{0x25, 0x01}, {0xC2, 0x2B}, {0x1D, 0x00}, {0x1C, 0x00}};
    t.heights.fill(0);
    t.waterLevel = 1;
    t.objects = {{17, 512, 510, 30}, {10, 100, 100, 0}, {2, 300, 700, 12}};
    t.bestTime = 4321;
    t.bestName = "Ann";
    t.placeTimes[0] = 5999;
    t.placeNames[0] = "Joe";
    t.carNames = {"Best car", "Joe's car"};
    t.ghost = {{2950, 2950}, {5900, 5900}};
    return t;
}

class WindowActions : public ActionTest {
  protected:
    void SetUp() override {
        ActionTest::SetUp();
        app::LoadCaptionFont();
    }
    static const raster::Picture& Shown() { return *platform::PictureHandle(app::kTrackPicture); }
    bool ShowsTheTrackPicture() const {
        const auto it = ui.pictures.find(app::kPictureControl);
        return it != ui.pictures.end() && it->second == platform::PictureHandle(app::kTrackPicture);
    }
};

TEST_F(WindowActions, DrawWhatTheCoreDrawsAndKeepTheirResults) {
    Load(WriteTrack("monza.trk", Sample()));
    EXPECT_TRUE(ShowsTheTrackPicture());
    EXPECT_EQ(app::state.LandmapSize, 3);  // N after the build, 2N after the parse
    EXPECT_EQ(app::state.PictureName, "monza_5999_Joe");
    EXPECT_EQ(NewestStatusLine(), "monza_5999_Joe");

    const ParsedTrack parsed(Sample());
    raster::Picture expected = PictureOf(*parsed, "monza");
    EXPECT_TRUE(Shown().pixels == expected.pixels);
    app::DrawGhostOverlay();
    app::DrawObjectsOverlay();
    app::DrawWaterOverlay();
    picture::DrawGhost(expected, *parsed);
    picture::DrawObjects(expected, *parsed);
    picture::DrawWater(expected, *parsed);
    EXPECT_TRUE(Shown().pixels == expected.pixels);
    EXPECT_FLOAT_EQ(app::state.GhostScale, 29.5f);
    EXPECT_EQ(app::ReadOutAt(50, 460), picture::ReadOutText(picture::InfoAt(*parsed, 50, 460)));

    // A new build shows the bare landmap again.
    const int shown = ui.showCount;
    Load(WriteTrack("monza.trk", Sample()));
    EXPECT_TRUE(Shown().pixels == PictureOf(*parsed, "monza").pixels);
    EXPECT_GT(ui.showCount, shown);
}

TEST_F(WindowActions, NoGhostIsSaidAndLeavesThePictureAlone) {
    TrackContents t = Sample();
    t.placeTimes[0] = 6000;
    Load(WriteTrack("slow.trk", t));
    const std::vector<raster::Colour> before = {Shown().pixels.begin(), Shown().pixels.end()};
    const int shown = ui.showCount;
    app::DrawGhostOverlay();
    EXPECT_EQ(NewestStatusLine(), "kein Ghost");
    EXPECT_EQ(ui.showCount, shown);  // the control is not touched
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Shown().pixels.begin()));
}

TEST_F(WindowActions, ACancelledLoadDrawsTheBufferAgainWithoutAName) {
    TrackContents t = Sample();
    t.placeTimes[0] = 6000;
    t.bestTime = -5;
    Load(WriteTrack("a.trk", t));
    EXPECT_EQ(app::state.PictureName, "a_-5_Ann");
    Load("");
    EXPECT_EQ(app::state.PictureName, "_-5_Ann");
    EXPECT_EQ(NewestStatusLine(), "_-5_Ann");
}

TEST_F(WindowActions, NothingBeforeAnAcceptedTrack) {
    app::DrawObjectsOverlay();
    app::DrawWaterOverlay();
    app::DrawGhostOverlay();
    EXPECT_FALSE(platform::PictureExists(app::kTrackPicture));
    EXPECT_EQ(ui.showCount, 0);
    EXPECT_EQ(app::ReadOutAt(10, 10), "");
    EXPECT_EQ(StatusText().find("kein Ghost"), std::string::npos);
}

}  // namespace
