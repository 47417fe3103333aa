#include "platform/fltk/app_icon.h"

#include <algorithm>
#include <cmath>

namespace platform::fltk {
namespace {

struct Rgba {
    double r, g, b, a;
};

// Distance from (x, y) to the segment of the loop's straight centre line.
double LoopDistance(double x, double y) {
    const double cx = std::clamp(x, 0.36, 0.64);
    return std::hypot(x - cx, y - 0.5);
}

// The colour of one point of the unit square.
Rgba Sample(double x, double y) {
    constexpr double kCorner = 0.18;
    const double qx = std::max(std::abs(x - 0.5) - (0.5 - kCorner), 0.0);
    const double qy = std::max(std::abs(y - 0.5) - (0.5 - kCorner), 0.0);
    if (std::hypot(qx, qy) > kCorner) return {0, 0, 0, 0};

    const double ring = LoopDistance(x, y) - 0.27;  // track centre line at 0
    if (std::abs(ring) < 0.085) {
        if (std::abs(ring) > 0.068) return {0.95, 0.95, 0.95, 1};  // kerb
        const bool startLine = x > 0.45 && x < 0.55 && y > 0.5;
        if (startLine) {
            const int cellX = static_cast<int>((x - 0.45) / 0.05);
            const int cellY = static_cast<int>((ring + 0.068) / 0.045);
            return (cellX + cellY) % 2 ? Rgba{0.1, 0.1, 0.1, 1} : Rgba{1, 1, 1, 1};
        }
        return {0.36, 0.36, 0.38, 1};
    }
    const double pond = std::hypot((x - 0.5) / 0.2, (y - 0.5) / 0.1);
    if (pond < 1.0) return {0.16, 0.42, 0.85, 1};
    const double shade = 0.08 * y;  // a little darker towards the bottom
    return {0.22 - shade, 0.60 - shade, 0.24 - shade, 1};
}

}  // namespace

std::vector<std::uint8_t> RenderAppIcon(int size) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
    constexpr int kSub = 4;  // samples per pixel and axis, for smooth edges
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const Rgba c =
                        Sample((px + (sx + 0.5) / kSub) / size, (py + (sy + 0.5) / kSub) / size);
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            }
            std::uint8_t* out = &rgba[(static_cast<std::size_t>(py) * size + px) * 4];
            const double alpha = sum.a / (kSub * kSub);
            const auto channel = [&](double v) {
                return static_cast<std::uint8_t>(std::lround(sum.a > 0 ? 255.0 * v / sum.a : 0.0));
            };
            out[0] = channel(sum.r);
            out[1] = channel(sum.g);
            out[2] = channel(sum.b);
            out[3] = static_cast<std::uint8_t>(std::lround(255.0 * alpha));
        }
    }
    return rgba;
}

}  // namespace platform::fltk
