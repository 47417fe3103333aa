#include "trackgen/scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace trackgen {
namespace {

constexpr int kSize = 512;  // landmap pixels a side; row 0 is the bottom row
constexpr double kPi = 3.14159265358979323846;

// Terrain codes by the colour the picture gives them.
enum Terrain : std::uint8_t {
    kRoad = 12,     // dark grey asphalt
    kShoulder = 1,  // light grey
    kKerbRed = 11,
    kKerbWhite = 9,
    kGrass = 2,
    kMeadow = 3,  // pale green
    kDirt = 4,    // brown
    kSand = 5,
    kPaleSand = 6,
    kWater = 8,  // pale blue; the water overlay paints it deep blue
};

// splitmix64: small, fast, and the same on every platform, unlike the
// standard distributions.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform(double low, double high) {
        return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }
    int Int(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool Chance(double p) { return Uniform(0, 1) < p; }

  private:
    std::uint64_t state_;
};

// Smooth value noise in 0..1 over the map, from a coarse random lattice.
class Noise {
  public:
    Noise(Random& random, int cell) : cell_(cell), side_(kSize / cell + 2) {
        values_.resize(static_cast<std::size_t>(side_) * side_);
        for (double& v : values_) v = random.Uniform(0, 1);
    }
    double At(double x, double y) const {
        const double gx = x / cell_, gy = y / cell_;
        const int ix = std::clamp(static_cast<int>(gx), 0, side_ - 2);
        const int iy = std::clamp(static_cast<int>(gy), 0, side_ - 2);
        const double fx = Smooth(gx - ix), fy = Smooth(gy - iy);
        const double top = Lerp(Value(ix, iy), Value(ix + 1, iy), fx);
        const double bottom = Lerp(Value(ix, iy + 1), Value(ix + 1, iy + 1), fx);
        return Lerp(top, bottom, fy);
    }

  private:
    static double Smooth(double t) { return t * t * (3 - 2 * t); }
    static double Lerp(double a, double b, double t) { return a + (b - a) * t; }
    double Value(int x, int y) const { return values_[static_cast<std::size_t>(y) * side_ + x]; }
    int cell_, side_;
    std::vector<double> values_;
};

struct Point {
    double x = 0, y = 0;
};

template <typename T>
class Grid {
  public:
    explicit Grid(T fill) : cells_(static_cast<std::size_t>(kSize) * kSize, fill) {}
    T& operator()(int x, int y) { return cells_[static_cast<std::size_t>(y) * kSize + x]; }
    T operator()(int x, int y) const { return cells_[static_cast<std::size_t>(y) * kSize + x]; }
    static bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < kSize && y < kSize; }

  private:
    std::vector<T> cells_;
};

struct Road {
    std::vector<Point> centre;      // closed loop, evenly spaced in angle
    std::vector<double> curvature;  // turn per sample, radians
    double halfWidth = 7;
    double length = 0;           // in pixels
    Grid<float> distance{1e9f};  // from each pixel to the centre line
    Grid<int> nearest{-1};       // the centre sample nearest to each pixel
};

Point Tangent(const Road& road, std::size_t i) {
    const std::size_t n = road.centre.size();
    const Point& a = road.centre[(i + n - 1) % n];
    const Point& b = road.centre[(i + 1) % n];
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    return {dx / length, dy / length};
}

// A wobbly ring around the middle of the map.
Road MakeRoad(Random& random) {
    Road road;
    road.halfWidth = random.Uniform(6, 8);
    const double base = random.Uniform(150, 175);
    double amplitude[6] = {}, phase[6] = {};
    for (int k = 2; k <= 5; ++k) {
        amplitude[k] = random.Uniform(0.08, 0.24) / (k - 1);
        phase[k] = random.Uniform(0, 2 * kPi);
    }
    const double squash = random.Uniform(0.8, 1.0);
    constexpr int kSamples = 1440;
    for (int i = 0; i < kSamples; ++i) {
        const double t = 2 * kPi * i / kSamples;
        double r = base;
        for (int k = 2; k <= 5; ++k) r *= 1 + amplitude[k] * std::sin(k * t + phase[k]);
        road.centre.push_back({256 + r * std::cos(t), 256 + squash * r * std::sin(t)});
    }
    for (auto& p : road.centre) {
        p.x = std::clamp(p.x, 44.0, 467.0);
        p.y = std::clamp(p.y, 44.0, 467.0);
    }
    road.curvature.resize(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const Point a = Tangent(road, (i + kSamples - 10) % kSamples);
        const Point b = Tangent(road, (i + 10) % kSamples);
        road.curvature[i] = std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
        road.length += std::hypot(road.centre[(i + 1) % kSamples].x - road.centre[i].x,
                                  road.centre[(i + 1) % kSamples].y - road.centre[i].y);
    }
    constexpr int kReach = 48;
    for (int i = 0; i < kSamples; ++i) {
        const Point& c = road.centre[i];
        for (int y = static_cast<int>(c.y) - kReach; y <= static_cast<int>(c.y) + kReach; ++y) {
            for (int x = static_cast<int>(c.x) - kReach; x <= static_cast<int>(c.x) + kReach; ++x) {
                if (!Grid<float>::Inside(x, y)) continue;
                const auto d = static_cast<float>(std::hypot(x + 0.5 - c.x, y + 0.5 - c.y));
                if (d < road.distance(x, y)) {
                    road.distance(x, y) = d;
                    road.nearest(x, y) = i;
                }
            }
        }
    }
    return road;
}

// Turning by more than 0.2 rad over 20 samples (some 14 pixels): a bend
// tighter than about 70 pixels radius.
bool Sharp(const Road& road, int sample) {
    return sample >= 0 && std::abs(road.curvature[sample]) > 0.2;
}

// Distance in pixels (to 32) from every pixel to the nearest pixel where
// `is` holds: a two-pass chamfer, close enough for shores.
Grid<float> DistanceTo(const Grid<std::uint8_t>& terrain, std::uint8_t code) {
    Grid<float> d(64.0f);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (terrain(x, y) == code) d(x, y) = 0;
        }
    }
    constexpr float kDiagonal = 1.4142f;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float& v = d(x, y);
            if (x > 0) v = std::min(v, d(x - 1, y) + 1);
            if (y > 0) v = std::min(v, d(x, y - 1) + 1);
            if (x > 0 && y > 0) v = std::min(v, d(x - 1, y - 1) + kDiagonal);
            if (x < kSize - 1 && y > 0) v = std::min(v, d(x + 1, y - 1) + kDiagonal);
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = kSize - 1; x >= 0; --x) {
            float& v = d(x, y);
            if (x < kSize - 1) v = std::min(v, d(x + 1, y) + 1);
            if (y < kSize - 1) v = std::min(v, d(x, y + 1) + 1);
            if (x < kSize - 1 && y < kSize - 1) v = std::min(v, d(x + 1, y + 1) + kDiagonal);
            if (x > 0 && y < kSize - 1) v = std::min(v, d(x - 1, y + 1) + kDiagonal);
        }
    }
    return d;
}

struct Scene {
    bool canyon = false;
    std::uint8_t worldSize = 200;
    Road road;
    Grid<std::uint8_t> terrain{kGrass};
};

void PaintGround(Scene& scene, Random& random) {
    const Noise coarse(random, 64), fine(random, 16);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double n = 0.7 * coarse.At(x, y) + 0.3 * fine.At(x, y);
            std::uint8_t code;
            if (scene.canyon) {
                code = n < 0.5 ? kDirt : n < 0.66 ? kSand : n < 0.7 ? kPaleSand : kGrass;
            } else {
                code = n < 0.58 ? kGrass : n < 0.7 ? kMeadow : kDirt;
            }
            scene.terrain(x, y) = code;
        }
    }
}

void PaintWater(Scene& scene, Random& random) {
    const Road& road = scene.road;
    const Noise wobble(random, 24);
    if (scene.canyon) {
        // A river from bottom to top; the road crosses it on bridges.
        const double x0 = random.Uniform(150, 360), bend = random.Uniform(40, 80);
        const double phase = random.Uniform(0, 2 * kPi), halfWidth = random.Uniform(9, 13);
        for (int y = 0; y < kSize; ++y) {
            const double centre = x0 + bend * std::sin(y / 90.0 + phase);
            for (int x = 0; x < kSize; ++x) {
                const double edge = halfWidth * (0.8 + 0.4 * wobble.At(x, y));
                if (std::abs(x - centre) < edge &&
                    static_cast<double>(road.distance(x, y)) > road.halfWidth + 2) {
                    scene.terrain(x, y) = kWater;
                }
            }
        }
        return;
    }
    // A lake inside the loop, clear of the road.
    const double cx = 256 + random.Uniform(-40, 40), cy = 256 + random.Uniform(-40, 40);
    const double rx = random.Uniform(50, 80), ry = random.Uniform(40, 70);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double e =
                std::hypot((x - cx) / rx, (y - cy) / ry) - 0.35 * (wobble.At(x, y) - 0.5);
            if (e < 1 && static_cast<double>(road.distance(x, y)) > road.halfWidth + 14)
                scene.terrain(x, y) = kWater;
        }
    }
}

void PaintShoresAndRoad(Scene& scene) {
    const Road& road = scene.road;
    const Grid<float> toWater = DistanceTo(scene.terrain, kWater);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float d = road.distance(x, y);
            const int sample = road.nearest(x, y);
            std::uint8_t& code = scene.terrain(x, y);
            if (static_cast<double>(d) <= road.halfWidth) {
                code = sample >= 0 && sample < 4 ? kKerbWhite : kRoad;  // start and finish
            } else if (static_cast<double>(d) <= road.halfWidth + 2) {
                code =
                    Sharp(road, sample) ? ((sample / 10) % 2 ? kKerbRed : kKerbWhite) : kShoulder;
            } else if (static_cast<double>(d) <= road.halfWidth + 11 && Sharp(road, sample) &&
                       code != kWater) {
                code = kSand;  // run-off on the corners
            } else if (code != kWater && toWater(x, y) <= 5) {
                code = scene.canyon ? kPaleSand : kSand;
            }
        }
    }
}

std::vector<std::array<std::uint8_t, 2>> RunLengths(const Grid<std::uint8_t>& terrain) {
    std::vector<std::array<std::uint8_t, 2>> pairs;
    const auto emit = [&](std::uint8_t code, int run) {
        const unsigned v = code | (static_cast<unsigned>(run) << 4);
        pairs.push_back({static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)});
    };
    std::uint8_t code = terrain(0, 0);
    int run = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (terrain(x, y) != code || run == 4095) {
                emit(code, run);
                code = terrain(x, y);
                run = 0;
            }
            ++run;
        }
    }
    emit(code, run);
    return pairs;
}

// Cells mostly under water lie below the level, the rest above it; cells
// the road crosses stay dry, so bridges show as bridges.
void MakeHeights(const Scene& scene, Random& random, TrackContents& t) {
    const Noise hills(random, 128);
    t.waterLevel = static_cast<std::uint8_t>(random.Int(30, 60));
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            int wet = 0;
            for (int y = 8 * r; y < 8 * r + 8; ++y) {
                for (int x = 8 * c; x < 8 * c + 8; ++x) {
                    wet += scene.terrain(x, y) == kWater;
                    if (static_cast<double>(scene.road.distance(x, y)) <= scene.road.halfWidth)
                        wet = -64;
                }
            }
            const double h = hills.At(8 * c + 4, 8 * r + 4);
            const int height = wet >= 32 ? t.waterLevel - 3 - static_cast<int>(15 * h)
                                         : t.waterLevel + 4 + static_cast<int>(120 * h);
            t.heights[(std::size_t{64} * static_cast<std::size_t>(r)) +
                      static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(std::clamp(height, 0, 255));
        }
    }
}

// Heading byte whose front points along (dx, dy), y up: the front lies at
// (sin a, -cos a) on the picture, 244 steps a turn from a quarter turn on.
std::uint8_t HeadingOf(double dx, double dy) {
    double a = std::atan2(dx, dy);
    if (a < 0) a += 2 * kPi;
    const int steps = static_cast<int>(std::lround(a / (1.47541 * 0.01745)));
    return static_cast<std::uint8_t>(((steps - 61) % 244 + 244) % 244);
}

ObjectRecord Place(std::int8_t type, double x, double y, std::uint8_t heading = 0) {
    return {type, static_cast<std::int16_t>(std::lround(2 * x)),
            static_cast<std::int16_t>(std::lround(2 * y)), heading};
}

bool Free(const Scene& scene, double x, double y, double clearance) {
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    return Grid<std::uint8_t>::Inside(ix, iy) && scene.terrain(ix, iy) != kWater &&
           static_cast<double>(scene.road.distance(ix, iy)) > scene.road.halfWidth + clearance;
}

void PlaceTrees(const Scene& scene, Random& random, std::vector<ObjectRecord>& objects) {
    const int clusters = random.Int(8, 14);
    for (int k = 0; k < clusters; ++k) {
        const double cx = random.Uniform(20, 492), cy = random.Uniform(20, 492);
        const int trees = random.Int(8, scene.canyon ? 14 : 26);
        for (int i = 0; i < trees; ++i) {
            const double x = cx + random.Uniform(-24, 24), y = cy + random.Uniform(-24, 24);
            const int ix = static_cast<int>(x), iy = static_cast<int>(y);
            if (!Free(scene, x, y, 8)) continue;
            const std::uint8_t ground = scene.terrain(ix, iy);
            if (ground == kSand || ground == kPaleSand) continue;
            objects.push_back(Place(10, x, y));
        }
    }
}

// Halls beside the road, their long side along it.
void PlaceBuildings(const Scene& scene, Random& random, std::vector<ObjectRecord>& objects) {
    const Road& road = scene.road;
    const int halfWidth = (6200 / scene.worldSize) / 2, halfLength = (15900 / scene.worldSize) / 2;
    std::vector<Point> placed;
    const int wanted = random.Int(3, 6);
    for (int attempt = 0; attempt < 200 && static_cast<int>(placed.size()) < wanted; ++attempt) {
        const auto i =
            static_cast<std::size_t>(random.Int(0, static_cast<int>(road.centre.size()) - 1));
        if (Sharp(road, static_cast<int>(i))) continue;
        const Point t = Tangent(road, i);
        const double side = random.Chance(0.5) ? 1 : -1;
        const double offset = road.halfWidth + halfWidth + 12;
        const Point c{road.centre[i].x - side * t.y * offset,
                      road.centre[i].y + side * t.x * offset};
        bool clear = c.x > halfLength && c.x < kSize - halfLength && c.y > halfLength &&
                     c.y < kSize - halfLength;
        for (int u = -halfLength; clear && u <= halfLength; u += 4) {
            for (int v = -halfWidth; clear && v <= halfWidth; v += 4) {
                clear = Free(scene, c.x + u * t.x - v * t.y, c.y + u * t.y + v * t.x, 4);
            }
        }
        for (const Point& p : placed)
            clear = clear && std::hypot(p.x - c.x, p.y - c.y) > 2.2 * halfLength;
        if (!clear) continue;
        placed.push_back(c);
        objects.push_back(Place(static_cast<std::int8_t>(random.Chance(0.5) ? 17 : 18), c.x, c.y,
                                HeadingOf(t.x, t.y)));
        // Posts at the hall's front corners.
        for (const double v : {-1.0, 1.0}) {
            const double along = halfLength + 6, across = v * (halfWidth + 6);
            objects.push_back(
                Place(9, c.x + along * t.x - across * t.y, c.y + along * t.y + across * t.x));
        }
    }
}

// Tyre walls on the outside of corners, cones along the straights, posts at
// the start line.
void PlaceTrackside(const Scene& scene, Random& random, std::vector<ObjectRecord>& objects) {
    const Road& road = scene.road;
    const auto n = road.centre.size();
    const double outside = road.halfWidth + 5;
    for (std::size_t i = 0; i < n; i += 12) {
        const Point t = Tangent(road, i);
        const Point& c = road.centre[i];
        if (Sharp(road, static_cast<int>(i))) {
            // The outside of a left turn is on the right.
            const double side = road.curvature[i] > 0 ? -1 : 1;
            const double d = outside + 8;
            objects.push_back(
                Place(23, c.x - side * t.y * d, c.y + side * t.x * d, HeadingOf(t.x, t.y)));
        } else if (i % 48 == 0) {
            const std::int8_t type =
                static_cast<std::int8_t>(std::array{1, 2, 3}[random.Int(0, 2)]);
            for (const double side : {-1.0, 1.0}) {
                objects.push_back(Place(type, c.x - side * t.y * outside,
                                        c.y + side * t.x * outside, HeadingOf(t.x, t.y)));
            }
        }
    }
    const Point t = Tangent(road, 0);
    for (const double side : {-1.0, 1.0}) {
        const double d = road.halfWidth + 6;
        objects.push_back(
            Place(9, road.centre[0].x - side * t.y * d, road.centre[0].y + side * t.x * d));
    }
}

// How one driver takes the road, in pixels and seconds.
struct Driver {
    double topSpeed;    // on the straights
    double grip;        // the sideways pull a bend allows: v * v / radius
    double accelerate;  // speed gained a second
    double brake;       // speed shed a second
    double cut;         // how far into a bend's inside, in road half widths
    double weave;       // a swaying line, in pixels
    double phase;
};

// Some drivers are brave in the bends, others fast on the straights.
Driver MakeDriver(const Road& road, Random& random) {
    const double brave = random.Uniform(0, 1);
    Driver d{};
    d.topSpeed = random.Uniform(41, 45) - 6 * brave;
    d.grip = random.Uniform(5.7, 6.3) + 3 * brave;
    d.accelerate = random.Uniform(5, 7);
    d.brake = random.Uniform(12, 16);
    d.cut = random.Uniform(0.2, 0.7);
    d.weave = road.halfWidth * random.Uniform(0.05, 0.3);
    d.phase = random.Uniform(0, 2 * kPi);
    return d;
}

// A lap along the road as a driver takes it, from the start line at the
// first centre sample: as fast as the bends allow, braking before them and
// speeding up after, with frames at equal steps of time. The lap's time
// in hundredths goes to `lapTime`.
std::vector<GhostFrame> DriveLap(const Scene& scene, const Driver& driver, int& lapTime) {
    const Road& road = scene.road;
    const std::size_t n = road.centre.size();
    // The driven line: towards the inside of bends, swaying a little.
    std::vector<Point> line(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Point t = Tangent(road, i);
        const double bend = std::clamp(road.curvature[i] / 0.4, -1.0, 1.0);
        const double off =
            driver.cut * road.halfWidth * bend +
            driver.weave * std::sin(2 * kPi * 5 * static_cast<double>(i) / static_cast<double>(n) +
                                    driver.phase);
        line[i] = {road.centre[i].x - t.y * off, road.centre[i].y + t.x * off};
    }
    // Curvature turns over 20 samples: the bend's radius follows from it.
    const double spacing = road.length / static_cast<double>(n);
    std::vector<double> speed(n), step(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double radius = 20 * spacing / std::max(std::abs(road.curvature[i]), 1e-6);
        speed[i] = std::min(driver.topSpeed, std::sqrt(driver.grip * radius));
        const Point& b = line[(i + 1) % n];
        step[i] = std::hypot(b.x - line[i].x, b.y - line[i].y);
    }
    // Speed up out of each bend and brake into the next; twice round, as
    // the lap is a loop.
    for (std::size_t k = 0; k < 2 * n; ++k) {
        const std::size_t i = k % n, next = (k + 1) % n;
        speed[next] =
            std::min(speed[next], std::sqrt(speed[i] * speed[i] + 2 * driver.accelerate * step[i]));
    }
    for (std::size_t k = 2 * n; k > 0; --k) {
        const std::size_t i = (k - 1) % n, next = k % n;
        speed[i] =
            std::min(speed[i], std::sqrt(speed[next] * speed[next] + 2 * driver.brake * step[i]));
    }
    std::vector<double> time(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        time[i + 1] = time[i] + 2 * step[i] / (speed[i] + speed[(i + 1) % n]);
    // A time under a minute: the game stores no longer one.
    const double stretch = std::max(1.0, time[n] / 59.0);
    lapTime = static_cast<int>(std::lround(time[n] / stretch * 100));

    const double scale = scene.worldSize * 0.295;  // ghost units a pixel
    const int frames = static_cast<int>(time[n] / stretch / 0.15) + 1;
    std::vector<GhostFrame> ghost;
    std::size_t i = 0;
    for (int f = 0; f < frames; ++f) {
        const double at = time[n] * f / (frames - 1);
        while (i + 1 < n && time[i + 1] < at) ++i;
        const Point& a = line[i];
        const Point& b = line[(i + 1) % n];
        const double u = std::clamp((at - time[i]) / (time[i + 1] - time[i]), 0.0, 1.0);
        const double x = (a.x + u * (b.x - a.x)) * scale, y = (a.y + u * (b.y - a.y)) * scale;
        ghost.push_back({static_cast<std::uint16_t>(std::clamp(std::lround(x), 0L, 65535L)),
                         static_cast<std::uint16_t>(std::clamp(std::lround(y), 0L, 65535L))});
    }
    return ghost;
}

void WriteResults(int lap, Random& random, TrackContents& t) {
    static const char* const kDrivers[] = {"Anna",   "Bruno", "Carla",  "Dieter", "Emil",
                                           "Frieda", "Greta", "Hannes", "Ines",   "Jonas",
                                           "Katrin", "Lukas", "Mira",   "Nils"};
    static const char* const kCars[] = {"Falke GT", "Blitz 2000", "Comet RS", "Vortex",  "Nova S",
                                        "Raptor",   "Tempest",    "Zephyr",   "Mistral", "Taifun"};
    t.bestTime = static_cast<std::int16_t>(lap - random.Int(20, 120));
    t.bestName = kDrivers[random.Int(0, 13)];
    t.carNames[0] = kCars[random.Int(0, 9)];
    int time = lap;
    for (int p = 0; p < 6; ++p) {
        t.placeTimes[p] = static_cast<std::int16_t>(time);
        time = std::min(time + random.Int(15, 140), 5999);
        t.placeNames[p] = kDrivers[random.Int(0, 13)];
        t.carNames[p + 1] = kCars[random.Int(0, 9)];
    }
    t.date = {static_cast<std::int16_t>(random.Int(2003, 2005)),
              static_cast<std::int16_t>(random.Int(1, 12)),
              static_cast<std::int16_t>(random.Int(0, 6)),
              static_cast<std::int16_t>(random.Int(1, 28)),
              static_cast<std::int16_t>(random.Int(8, 22)),
              static_cast<std::int16_t>(random.Int(0, 59)),
              static_cast<std::int16_t>(random.Int(0, 59)),
              0};
}

}  // namespace

TrackContents GenerateScene(std::uint64_t seed, const std::string& name, std::uint64_t driver) {
    Random random(seed * 0x2545F4914F6CDD1Dull + 1);
    Scene scene;
    scene.canyon = seed % 2 == 1;
    scene.worldSize = static_cast<std::uint8_t>(random.Int(170, 220));
    scene.road = MakeRoad(random);
    PaintGround(scene, random);
    PaintWater(scene, random);
    PaintShoresAndRoad(scene);

    TrackContents t;
    t.worldSize = scene.worldSize;
    t.angle = static_cast<std::uint8_t>(random.Int(20, 45));
    t.rotationLow = static_cast<std::uint8_t>(random.Int(0, 255));
    t.zoom = static_cast<std::uint8_t>(random.Int(2, 6));
    t.startFinishLine = static_cast<std::uint8_t>(random.Int(1, 3));
    t.landmap = RunLengths(scene.terrain);
    MakeHeights(scene, random, t);
    PlaceTrees(scene, random, t.objects);
    PlaceBuildings(scene, random, t.objects);
    PlaceTrackside(scene, random, t.objects);
    t.author = (name + " by trackgen").substr(0, 30);
    t.trackLength =
        static_cast<std::int32_t>(std::lround(scene.road.length * scene.worldSize / 20.0));
    // The map comes from the seed alone; the lap and results from the driver.
    Random driving((seed * 0x2545F4914F6CDD1Dull + 1) ^ (driver + 1) * 0x9E3779B97F4A7C15ull);
    int lap = 0;
    t.ghost = DriveLap(scene, MakeDriver(scene.road, driving), lap);
    WriteResults(lap, driving, t);
    return t;
}

}  // namespace trackgen
