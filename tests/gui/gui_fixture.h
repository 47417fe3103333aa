// The real window on the FLTK backend, built by the tool's own start-up,
// with dialogs answered from a queue unless a test opens them for real.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/state.h"
#include "app/window_layout.h"
#include "platform/surface.h"
#include "shell/dispatch.h"
#include "window_probe.h"

class GuiTest : public ::testing::Test {
  protected:
    static constexpr int kInfoBox = 2;
    static constexpr int kStatusLog = 8;
    static constexpr int kPicture = 1;
    // Where the picture control stands in the window.
    static constexpr int kPictureX = 450, kPictureY = 10, kPictureW = 512, kPictureH = 560;

    void SetUp() override;
    void TearDown() override;

    // Runs the queued events as the event loop does; true when one of them
    // was the close request.
    bool RunQueued();
    // Clicks a control and runs what the click queued.
    void Press(int control);

    std::string WriteDemoTrack(const std::string& name);
    std::string InfoText() const { return ui->ControlText(kInfoBox); }
    std::string StatusText() const { return ui->ControlText(kStatusLog); }
    std::string NewestStatusLine() const;
    // The picture control's area as drawn on the screen, and as the shown
    // picture holds it.
    std::vector<raster::Colour> ScreenPicture() {
        return ui->ReadPixels(kPictureX, kPictureY, kPictureW, kPictureH);
    }
    static std::vector<raster::Colour> PicturePixels(platform::PictureRef picture);

    std::unique_ptr<WindowProbe> ui;
    std::filesystem::path scratch;
};
