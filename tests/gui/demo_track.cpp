#include "demo_track.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gui_test {
namespace {

constexpr int kSize = 512;

// Distance from a map point to the circuit's centre line: a stadium of two
// straights joined by half circles.
double CircuitDistance(double x, double y) {
    const double cx = std::clamp(x, 176.0, 336.0);
    return std::hypot(x - cx, y - 256.0) - 140.0;
}

std::uint8_t TerrainAt(int x, int row) {
    const double y = row;
    const double track = CircuitDistance(x, y);
    if (std::abs(track) < 11) {
        const bool startLine = x >= 250 && x < 262 && y < 256;
        if (startLine) return ((x / 4 + row / 4) % 2) ? 9 : 12;
        if (std::abs(track) >= 9) return ((x / 6 + row / 6) % 2) ? 11 : 9;  // kerbs
        return 12;
    }
    const double lake = std::hypot((x - 256.0) / 110.0, (y - 256.0) / 60.0);
    if (lake < 1.0) return 8;
    if (lake < 1.15) return 3;  // beach
    const double hill = std::hypot(x - 440.0, y - 440.0);
    if (hill < 20) return 7;
    if (hill < 40) return 6;
    if (hill < 60) return 5;
    if (hill < 75) return 4;
    return 2;
}

}  // namespace

trackgen::TrackContents DemoTrack() {
    trackgen::TrackContents t;
    t.worldSize = 100;
    t.waterLevel = 30;
    t.angle = 45;
    t.zoom = 3;
    t.startFinishLine = 1;

    // Run-length coding, row by row from row 0 (the bottom of the picture).
    std::uint8_t code = TerrainAt(0, 0);
    int run = 0;
    const auto flush = [&] {
        const int v = (run << 4) | code;
        t.landmap.push_back(
            {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)});
    };
    for (int row = 0; row < kSize; ++row) {
        for (int x = 0; x < kSize; ++x) {
            const std::uint8_t c = TerrainAt(x, row);
            if (c != code || run == 4095) {
                flush();
                code = c;
                run = 0;
            }
            ++run;
        }
    }
    flush();

    // Heights: the lake lies below the water level, the hill well above.
    for (int cy = 0; cy < 64; ++cy) {
        for (int cx = 0; cx < 64; ++cx) {
            const double x = cx * 8 + 4, y = cy * 8 + 4;
            const double lake = std::hypot((x - 256.0) / 110.0, (y - 256.0) / 60.0);
            const double hill = std::hypot(x - 440.0, y - 440.0);
            int height = lake < 0.95 ? 10 : 50;
            if (hill < 75) height = 200 - static_cast<int>(hill * 2);
            t.heights[static_cast<std::size_t>(cy * 64 + cx)] = static_cast<std::uint8_t>(height);
        }
    }

    // Objects: positions are twice the pixel position.
    const auto place = [&](std::int8_t type, int px, int row, std::uint8_t heading = 0) {
        t.objects.push_back(
            {type, static_cast<std::int16_t>(2 * px), static_cast<std::int16_t>(2 * row), heading});
    };
    for (int i = 0; i < 32; ++i) {  // trees between the circuit and the lake
        const double a = i * 2 * std::numbers::pi / 32;
        place(10, 256 + static_cast<int>(165 * std::cos(a)),
              256 + static_cast<int>(100 * std::sin(a)));
    }
    for (int i = 0; i < 6; ++i) place(9, 40 + 14 * i, 470);  // sheds
    place(17, 230, 470, 0);                                  // pit building
    place(18, 110, 40, 0);                                   // grandstand
    for (int i = 0; i < 8; ++i) place(static_cast<std::int8_t>(1 + i % 3), 190 + 18 * i, 135, 30);
    place(23, 420, 60, 100);

    // The ghost lap: the circuit's centre line, in ghost units (29.5 a pixel).
    for (int i = 0; i < 300; ++i) {
        const double s = i / 300.0 * (2 * 160 + 2 * std::numbers::pi * 140);
        double x, y;
        if (s < 160) {
            x = 176 + s, y = 116;
        } else if (s < 160 + std::numbers::pi * 140) {
            const double a = -std::numbers::pi / 2 + (s - 160) / 140;
            x = 336 + 140 * std::cos(a), y = 256 + 140 * std::sin(a);
        } else if (s < 320 + std::numbers::pi * 140) {
            x = 336 - (s - 160 - std::numbers::pi * 140), y = 396;
        } else {
            const double a = std::numbers::pi / 2 + (s - 320 - std::numbers::pi * 140) / 140;
            x = 176 + 140 * std::cos(a), y = 256 + 140 * std::sin(a);
        }
        t.ghost.push_back(
            {static_cast<std::uint16_t>(x * 29.5), static_cast<std::uint16_t>(y * 29.5)});
    }

    t.author = "Velocitra Demo";
    t.trackLength = 1843;
    t.bestTime = 4523;
    t.placeTimes = {4523, 4611, 4702, 4890, 5012, 6000};
    t.bestName = "Anna";
    t.placeNames = {"Anna", "Jörg", "Mika", "Lena", "Tom", ""};
    for (auto& name : t.placeNames) {
        // Names in the file are Windows-1252.
        std::string cp;
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (name.compare(i, 2, "\xC3\xB6") == 0) {
                cp += '\xF6';
                ++i;
            } else {
                cp += name[i];
            }
        }
        name = cp;
    }
    t.carNames = {"Falke GT", "Falke GT", "Sirocco", "Bora RS", "Mistral", "Sirocco", "Kestrel"};
    return t;
}

}  // namespace gui_test
