#include <gtest/gtest.h>

#include "app/state.h"
#include "support/fixture.h"

namespace {

using trackgen::TrackContents;

TrackContents Sample() {
    TrackContents t;
    t.worldSize = 100;
    t.waterLevel = 12;
    t.angle = 30;
    t.rotationLow = 200;
    t.rotationHigh = 255;
    t.zoom = 4;
    t.startFinishLine = 9;
    t.landmap = {{0x25, 0x01}, {0x02, 0x10}};
    t.objects = {{10, 100, 100, 0}, {9, 50, 50, 0}};
    t.author = "  Jane Doe  ";
    t.trackLength = 1234;
    t.bestTime = 4321;
    t.placeTimes = {5432, 5500, 6000, 0, -5, 7000};
    t.bestName = "Best";
    t.placeNames = {"Joe", "  Ann", "", "Kim", "Lou", "Max"};
    t.carNames = {"Car0", "Car1", "Car2", "Car3", "Car4", "Car5", "Car6"};
    t.date = {2004, 3, 0, 7, 9, 5, 7, 0};
    t.ghost.resize(3);
    return t;
}

using Listing = ActionTest;

TEST_F(Listing, AcceptedTrackListsAllLinesInOrder) {
    const std::string path = WriteTrack("monza.trk", Sample());
    Load(path);
    const auto size = std::filesystem::file_size(path);
    const std::vector<std::string> expected = {
        "monza.trk   " + std::to_string(size) + " Bytes",
        "Velocitra 1.05", " ", "Worldsize: 100", "Waterlevel: 12", "Angel: 30", "Rotation: -56",
        "Zoom: 4", "S/F Line: 9", " ", "Landmap: 2 Bytes", "# Objecte: 2", "Trk-L\xE4nge: 1234", " ",
        "Autor: Jane Doe", " ", "Best: Best 4321  7.3.2004   9:05.07", "1.: Joe 5432", "2.: Ann 5500",
        "3.:  6000", "4.: Kim 0", "5.: Lou -5", "6.: Max 7000", " ", "Car Best:Car0", "1:Car1",
        "2:Car2", "3:Car3", "4:Car4", "5:Car5", "6:Car6", " ", "Ghost Frames:3"};
    EXPECT_EQ(InfoLines(), expected);
    EXPECT_EQ(app::state.TrackRejected, 0);
    EXPECT_EQ(app::state.TrackFileSize, static_cast<std::int32_t>(size));
}

}  // namespace
