// The charts, drawn by cairo: one drawing code for its image (PNG), SVG and
// PDF surfaces.
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "chart/chart.h"
#include "picture/picture.h"
#include "picture/template.h"
#include "platform/chart_font.h"
#include "platform/image_codec.h"
#include "platform/memory.h"
#include "platform/safe_file.h"
#include "raster/bitmap.h"

namespace chart {
namespace {

struct Rgb {
    double red, green, blue;
};
constexpr Rgb kInk{0.15, 0.15, 0.15};
constexpr Rgb kFaint{0.45, 0.45, 0.45};
constexpr Rgb kGrid{0.87, 0.87, 0.87};
constexpr Rgb kWhite{1, 1, 1};
// Blue and orange: told apart by every kind of colour vision.
constexpr Rgb kLapA{0.12, 0.38, 0.70};
constexpr Rgb kLapB{0.90, 0.42, 0.0};
constexpr Rgb kLoss{0.80, 0.10, 0.12};

constexpr double kTextSize = 12;

void Colour(cairo_t* cr, Rgb c, double alpha = 1) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, alpha);
}

enum class Align { kLeft, kCentre, kRight };

// `text` (UTF-8) with its baseline at y; returns its width.
double Text(cairo_t* cr, double x, double y, const std::string& text, Align align = Align::kLeft) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    if (align == Align::kCentre) x -= extents.x_advance / 2;
    if (align == Align::kRight) x -= extents.x_advance;
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
    return extents.x_advance;
}

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A tick a hair below zero is zero, not "-0.0".
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1)) return text + 1;
    return text;
}

std::string Seconds(double value) {
    return Number(value, 2) + " s";
}

std::string SignedSeconds(double value) {
    return (value >= 0 ? "+" : "\u2212") + Seconds(std::abs(value));
}

// A step of 1, 2 or 5 times a power of ten that cuts `range` into about
// `parts` pieces.
double NiceStep(double range, int parts) {
    if (!(range > 0)) return 1;
    const double raw = range / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double unit = raw / power;
    return (unit < 1.5 ? 1 : unit < 3 ? 2 : unit < 7 ? 5 : 10) * power;
}

int DecimalsOf(double step) {
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

struct Plot {
    double left, top, width, height;
    double xLow, xHigh, yLow, yHigh;

    double X(double v) const { return left + (v - xLow) / (xHigh - xLow) * width; }
    double Y(double v) const { return top + height - (v - yLow) / (yHigh - yLow) * height; }
};

// A plot's value range from `low` to `high`, widened to whole steps; never empty.
std::pair<double, double> Widened(double low, double high, int parts) {
    if (!(high > low)) high = low + 1;
    const double step = NiceStep(high - low, parts);
    return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

// The plot's grid, ticks and border, and the axes' titles unless they are
// left to the words around the chart.
void Frame(cairo_t* cr, const Plot& p, const std::string& xTitle = {},
           const std::string& yTitle = {}) {
    cairo_set_line_width(cr, 1);
    const double xStep = NiceStep(p.xHigh - p.xLow, 8);
    const double yStep = NiceStep(p.yHigh - p.yLow, 5);
    // Ticks counted in whole steps, so that no sum of steps drifts.
    const auto xFirst = static_cast<long>(std::ceil(p.xLow / xStep));
    for (long k = xFirst; static_cast<double>(k) * xStep <= p.xHigh + xStep / 1000; ++k) {
        const double v = static_cast<double>(k) * xStep;
        Colour(cr, kGrid);
        cairo_move_to(cr, p.X(v), p.top);
        cairo_line_to(cr, p.X(v), p.top + p.height);
        cairo_stroke(cr);
        Colour(cr, kFaint);
        Text(cr, p.X(v), p.top + p.height + 15, Number(v, DecimalsOf(xStep)), Align::kCentre);
    }
    const auto yFirst = static_cast<long>(std::ceil(p.yLow / yStep));
    for (long k = yFirst; static_cast<double>(k) * yStep <= p.yHigh + yStep / 1000; ++k) {
        const double v = static_cast<double>(k) * yStep;
        Colour(cr, std::abs(v) < yStep / 1000 ? kFaint : kGrid);
        cairo_move_to(cr, p.left, p.Y(v));
        cairo_line_to(cr, p.left + p.width, p.Y(v));
        cairo_stroke(cr);
        Colour(cr, kFaint);
        Text(cr, p.left - 6, p.Y(v) + 4, Number(v, DecimalsOf(yStep)), Align::kRight);
    }
    Colour(cr, kInk);
    cairo_rectangle(cr, p.left, p.top, p.width, p.height);
    cairo_stroke(cr);
    if (!xTitle.empty())
        Text(cr, p.left + p.width / 2, p.top + p.height + 32, xTitle, Align::kCentre);
    if (yTitle.empty()) return;
    cairo_save(cr);
    cairo_translate(cr, p.left - 46, p.top + p.height / 2);
    cairo_rotate(cr, -M_PI / 2);
    Text(cr, 0, 0, yTitle, Align::kCentre);
    cairo_restore(cr);
}

struct Point {
    double x, y;
};

// Which points of a line to draw: those it bends at by `tolerance` or more
// (in the chart's units, pixels or points); the line through the rest
// strays less than that from any point left out (Ramer, Douglas and
// Peucker). A lap's frames are several to a pixel, and an SVG prints every
// point's numbers, at a cost that showed in a gallery of thousands.
std::vector<bool> Bends(std::span<const Point> points, double tolerance) {
    std::vector<bool> kept(points.size(), points.size() <= 2);
    if (points.size() <= 2) return kept;
    kept.front() = kept.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans = {{0, points.size() - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        const Point a = points[first];
        const Point b = points[last];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        double farthest = -1;
        std::size_t at = first;
        for (std::size_t k = first + 1; k < last; ++k) {
            const Point p = points[k];
            // From the chord, or from its start where the chord is a point.
            const double off = length > 0 ? std::abs(dy * (p.x - a.x) - dx * (p.y - a.y)) / length
                                          : std::hypot(p.x - a.x, p.y - a.y);
            if (off > farthest) {
                farthest = off;
                at = k;
            }
        }
        if (farthest < tolerance) continue;
        kept[at] = true;
        if (at - first > 1) spans.emplace_back(first, at);
        if (last - at > 1) spans.emplace_back(at, last);
    }
    return kept;
}

// A line through (xs[i], ys[i]), inside the plot, drawn through its bends
// of a quarter of a pixel or more: the same line to the eye.
void Series(cairo_t* cr, const Plot& p, std::span<const double> xs, std::span<const double> ys,
            const Rgb& colour) {
    cairo_save(cr);
    cairo_rectangle(cr, p.left, p.top, p.width, p.height);
    cairo_clip(cr);
    std::vector<Point> points;
    points.reserve(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) points.push_back({p.X(xs[i]), p.Y(ys[i])});
    const std::vector<bool> kept = Bends(points, 0.25);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!kept[i]) continue;
        if (i == 0)
            cairo_move_to(cr, points[i].x, points[i].y);
        else
            cairo_line_to(cr, points[i].x, points[i].y);
    }
    Colour(cr, colour);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A band over the plot's full height from distance `from` to `to`, numbered.
void Band(cairo_t* cr, const Plot& p, double from, double to, int number) {
    Colour(cr, kLoss, 0.12);
    cairo_rectangle(cr, p.X(from), p.top, std::max(1.0, p.X(to) - p.X(from)), p.height);
    cairo_fill(cr);
    Colour(cr, kLoss);
    Text(cr, (p.X(from) + p.X(to)) / 2, p.top + 14, std::to_string(number), Align::kCentre);
}

void Swatch(cairo_t* cr, double x, double y, const Rgb& colour) {
    Colour(cr, colour);
    cairo_rectangle(cr, x, y - 9, 18, 10);
    cairo_fill(cr);
}

std::vector<double> Distances(const lap::Lap& lap) {
    std::vector<double> v;
    for (const lap::Sample& s : lap.samples) v.push_back(s.distance);
    return v;
}

std::vector<double> Speeds(const lap::Lap& lap) {
    std::vector<double> v;
    for (const lap::Sample& s : lap.samples) v.push_back(s.speed);
    return v;
}

double TopSpeed(const lap::Lap& lap) {
    double top = 0;
    for (const lap::Sample& s : lap.samples) top = std::max(top, s.speed);
    return top;
}

// The track's picture in `map`, its pixels turned in place into cairo's
// order (a Colour has red in its low byte, cairo's pixels blue), so that
// cairo draws the map from them with no copy. False when the picture cannot
// be made.
bool MapPixels(const track::Track& track, raster::Picture& map) {
    // Every byte is written by the assembly.
    const auto image = std::make_unique_for_overwrite<std::uint8_t[]>(picture::kImageSize);
    if (!raster::DecodeBitmap(picture::AssembleBitmap(track, {image.get(), picture::kImageSize}),
                              map) ||
        map.width != picture::kMapSize || map.height < picture::kMapSize)
        return false;
    for (raster::Colour& c : map.pixels) {
        const auto p = static_cast<std::uint32_t>(c);
        c = static_cast<raster::Colour>((p & 0xFF00) | (p >> 16 & 0xFF) | (p & 0xFF) << 16);
    }
    return true;
}

// Where frame `s` lies in a map box of `side` units at (left, top): the
// centre of the pixel the ghost overlay would put it on, unrounded.
struct MapBox {
    double left, top, side;
    double scale;

    double X(const lap::Sample& s) const { return left + (s.x / scale + 0.5) * side / 512; }
    double Y(const lap::Sample& s) const { return top + (511.5 - s.y / scale) * side / 512; }
};

void Path(cairo_t* cr, const MapBox& box, std::span<const lap::Sample> samples, const Rgb& colour,
          double width, double alpha = 1) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, box.X(samples[i]), box.Y(samples[i]));
        else
            cairo_line_to(cr, box.X(samples[i]), box.Y(samples[i]));
    }
    Colour(cr, colour, alpha);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void Map(cairo_t* cr, const track::Track& track, const MapBox& box, const lap::Lap& a,
         const lap::Lap& b, std::span<const lap::Stretch> stretches) {
    cairo_save(cr);
    cairo_rectangle(cr, box.left, box.top, box.side, box.side);
    cairo_clip(cr);
    if (raster::Picture map; MapPixels(track, map)) {
        const int side = picture::kMapSize;
        cairo_surface_t* image =
            cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(map.pixels.data()),
                                                CAIRO_FORMAT_RGB24, side, side, side * 4);
        cairo_save(cr);
        cairo_translate(cr, box.left, box.top);
        cairo_scale(cr, box.side / side, box.side / side);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        // Done with the pixels before `map` goes.
        cairo_surface_finish(image);
        cairo_surface_destroy(image);
    }
    // A veil, so that the paths stand out from any terrain.
    Colour(cr, kWhite, 0.45);
    cairo_paint(cr);
    if (box.scale > 0) {
        for (const lap::Stretch& s : stretches) {
            Path(cr, box, std::span(a.samples).subspan(s.first, s.last - s.first + 1), kLoss, 9,
                 0.45);
        }
        Path(cr, box, b.samples, kLapB, 2);
        Path(cr, box, a.samples, kLapA, 2);
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            const lap::Sample& mid = a.samples[(stretches[k].first + stretches[k].last) / 2];
            cairo_new_path(cr);  // the number's text left a current point
            cairo_arc(cr, box.X(mid), box.Y(mid), 9, 0, 2 * M_PI);
            Colour(cr, kWhite);
            cairo_fill_preserve(cr);
            Colour(cr, kLoss);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            Text(cr, box.X(mid), box.Y(mid) + 4, std::to_string(k + 1), Align::kCentre);
        }
    }
    cairo_restore(cr);
    Colour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, box.left, box.top, box.side, box.side);
    cairo_stroke(cr);
}

void UseFont(cairo_t* cr) {
    if (cairo_font_face_t* face = platform::ChartFontFace(picture::kCaptionFace))
        cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, kTextSize);
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}

// The memory a PNG chart is drawn into, which the PNG writer then reads as
// it lies: no copy of the pixels, and large pages where the system has them.
struct PixelsFreer {
    void operator()(std::uint8_t* memory) const noexcept { platform::FreePixels(memory); }
};
using PixelMemory = std::unique_ptr<std::uint8_t, PixelsFreer>;

// A surface of `width` x `height` for `format`: for PNG, in `pixels`.
cairo_surface_t* Surface(Format format, int width, int height, std::string& bytes,
                         PixelMemory& pixels) {
    switch (format) {
        case Format::kPng: {
            const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
            pixels.reset(static_cast<std::uint8_t*>(platform::AllocatePixels(
                static_cast<std::size_t>(stride) * static_cast<std::size_t>(height))));
            return cairo_image_surface_create_for_data(pixels.get(), CAIRO_FORMAT_RGB24, width,
                                                       height, stride);
        }
        case Format::kSvg:
            return cairo_svg_surface_create_for_stream(Append, &bytes, width, height);
        case Format::kPdf:
            return cairo_pdf_surface_create_for_stream(Append, &bytes, width, height);
    }
    return nullptr;
}

// The file's bytes of a chart `width` x `height` (pixels for PNG, points for
// SVG and PDF) that `draw` draws on a white page.
platform::Result<std::string> Render(Format format, int width, int height,
                                     const std::function<void(cairo_t*)>& draw) {
    std::string bytes;
    PixelMemory pixels;
    cairo_surface_t* surface = Surface(format, width, height, bytes, pixels);
    cairo_t* cr = cairo_create(surface);
    if (cairo_status(cr) == CAIRO_STATUS_SUCCESS) {
        Colour(cr, kWhite);
        cairo_paint(cr);
        UseFont(cr);
        draw(cr);
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    const platform::XrgbRows rows{
        width, height, pixels ? cairo_image_surface_get_stride(surface) : 0, pixels.get()};
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        return platform::Fail(std::string("the chart could not be drawn: ") +
                              cairo_status_to_string(status));
    // The tool's own PNG writer, packing quickly: cairo's packs small, at
    // ten times the cost of drawing the chart.
    if (format == Format::kPng)
        return platform::BytesWrittenBy([&rows](std::FILE* file) {
            return platform::WritePng(rows, file, platform::PngPacking::kQuick);
        });
    return bytes;
}

}  // namespace

bool Available() {
    return true;
}

platform::Result<std::string> SpeedChart(const lap::Lap& lap, Format format) {
    const lap::Summary summary = lap::Summarise(lap);
    return Render(format, 720, 300, [&](cairo_t* cr) {
        const auto [low, high] = Widened(0, summary.top.speed, 5);
        const Plot p{50, 14, 656, 260, 0, std::max(lap.Length(), 1.0), low, high};
        Frame(cr, p);
        // The sectors: thirds of the length.
        double from = 0;
        for (int k = 0; k < 3; ++k) {
            const double to = lap.Length() * (k + 1) / 3;
            if (k < 2) {
                Colour(cr, kFaint);
                const double dash = 4;
                cairo_set_dash(cr, &dash, 1, 0);
                cairo_move_to(cr, p.X(to), p.top);
                cairo_line_to(cr, p.X(to), p.top + p.height);
                cairo_stroke(cr);
                cairo_set_dash(cr, nullptr, 0, 0);
            }
            // Named only: the page lists the sectors' times beside the
            // chart, and each glyph is printed into an SVG as outlines, at
            // a cost that showed in a gallery of thousands.
            Colour(cr, kFaint);
            Text(cr, (p.X(from) + p.X(to)) / 2, p.top + 16, "S" + std::to_string(k + 1),
                 Align::kCentre);
            from = to;
        }
        Series(cr, p, Distances(lap), Speeds(lap), kLapA);
    });
}

platform::Result<std::string> CompareChart(const track::Track& track, const Named& a,
                                           const Named& b, Format format) {
    const std::vector<lap::AlignedRow> rows = lap::Align(a.lap, b.lap);
    if (rows.empty()) return platform::Fail("the laps cannot be aligned");
    const std::vector<lap::Stretch> stretches = lap::LosingStretches(rows, 3);
    std::vector<double> distance, speedA, speedB, gap;
    for (const lap::AlignedRow& r : rows) {
        distance.push_back(r.distance);
        speedA.push_back(r.speedA);
        speedB.push_back(r.speedB);
        gap.push_back(r.gap);
    }
    const double length = std::max(a.lap.Length(), 1.0);
    return Render(format, 1200, 720, [&](cairo_t* cr) {
        Swatch(cr, 16, 24, kLapA);
        Colour(cr, kInk);
        Text(cr, 42, 24, "A  " + a.label + ", " + Seconds(a.lap.Duration()));
        Swatch(cr, 16, 44, kLapB);
        Colour(cr, kInk);
        Text(cr, 42, 44, "B  " + b.label + ", " + Seconds(b.lap.Duration()));
        Text(cr, 1184, 24, "B \u2212 A at the finish: " + SignedSeconds(rows.back().gap),
             Align::kRight);
        Colour(cr, kFaint);
        Text(cr, 1184, 44, "B measured along A's path", Align::kRight);

        const auto [speedLow, speedHigh] =
            Widened(0, std::max(TopSpeed(a.lap), TopSpeed(b.lap)), 5);
        const Plot speed{80, 70, 560, 250, 0, length, speedLow, speedHigh};
        const auto [gapLow, gapHigh] =
            Widened(std::min(0.0, *std::min_element(gap.begin(), gap.end())),
                    std::max(0.0, *std::max_element(gap.begin(), gap.end())), 5);
        const Plot gaps{80, 400, 560, 250, 0, length, gapLow, gapHigh};
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            for (const Plot* p : {&speed, &gaps}) {
                Band(cr, *p, rows[stretches[k].first].distance, rows[stretches[k].last].distance,
                     static_cast<int>(k + 1));
            }
        }
        Frame(cr, speed, "distance along A's path (ghost units)", "speed (units/s)");
        Series(cr, speed, distance, speedB, kLapB);
        Series(cr, speed, distance, speedA, kLapA);
        Frame(cr, gaps, "distance along A's path (ghost units)", "gap B \u2212 A (s)");
        Series(cr, gaps, distance, gap, kInk);

        const MapBox box{680, 70, 500, static_cast<double>(track::GhostScale(track.worldSize))};
        Map(cr, track, box, a.lap, b.lap, stretches);
        Colour(cr, kInk);
        double y = 600;
        Text(cr, 680, y, stretches.empty() ? "B loses no time to A" : "Where B loses most:");
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            y += 18;
            Colour(cr, kLoss);
            Text(cr, 690, y, std::to_string(k + 1));
            Colour(cr, kInk);
            Text(cr, 712, y,
                 Seconds(stretches[k].loss) + " from " +
                     Number(rows[stretches[k].first].distance, 0) + " to " +
                     Number(rows[stretches[k].last].distance, 0) + " units");
        }
    });
}

}  // namespace chart
