#include "lap/lap.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace lap {
namespace {

// Ghost units from frame a to frame b, in a straight line.
double Apart(const Sample& a, const Sample& b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// A place along a path and when and how fast it was passed there; places
// never decrease along a list of marks.
struct Mark {
    double distance = 0;
    double time = 0;
    double speed = 0;
};

// The mark at `distance`: between the first mark that reaches it and the
// one before, by a straight line; clamped to the first and last marks.
Mark MarkAt(std::span<const Mark> marks, double distance) {
    const auto reached = std::lower_bound(marks.begin(), marks.end(), distance,
                                          [](const Mark& m, double d) { return m.distance < d; });
    if (reached == marks.begin()) return marks.front();
    if (reached == marks.end()) return marks.back();
    const Mark& before = *(reached - 1);
    const double t = (distance - before.distance) / (reached->distance - before.distance);
    return {distance, before.time + t * (reached->time - before.time),
            before.speed + t * (reached->speed - before.speed)};
}

std::vector<Mark> MarksOf(const Lap& lap) {
    std::vector<Mark> marks;
    marks.reserve(lap.samples.size());
    for (const Sample& s : lap.samples) marks.push_back({s.distance, s.time, s.speed});
    return marks;
}

// Lap A's path as segments from frame to frame.
struct Path {
    std::span<const Sample> points;
    double longestSegment = 0;

    explicit Path(const Lap& lap) : points(lap.samples) {
        for (std::size_t k = 1; k < points.size(); ++k)
            longestSegment = std::max(longestSegment, points[k].distance - points[k - 1].distance);
    }
    std::size_t Segments() const { return points.size() - 1; }

    // Where on segment k (from frame k to k + 1) the point nearest to (x, y)
    // lies, as a distance along the path, and the square of how far off it is.
    std::pair<double, double> Project(std::size_t k, double x, double y) const {
        const Sample& a = points[k];
        const Sample& b = points[k + 1];
        const double dx = static_cast<double>(b.x) - a.x;
        const double dy = static_cast<double>(b.y) - a.y;
        const double length2 = dx * dx + dy * dy;
        double t = 0;
        if (length2 > 0) t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0);
        const double ox = a.x + t * dx - x;
        const double oy = a.y + t * dy - y;
        return {a.distance + t * (b.distance - a.distance), ox * ox + oy * oy};
    }
};

// A rise without the nearly flat rows at its ends, where the gap moves by
// less than a twentieth of the rise: the stretch where the time is lost.
Stretch Trimmed(std::span<const AlignedRow> rows, Stretch rise) {
    const double slack = rise.loss / 20;
    const double top = rows[rise.last].gap;
    while (rise.last > rise.first && rows[rise.last - 1].gap >= top - slack) --rise.last;
    const double bottom = rows[rise.first].gap;
    while (rise.first < rise.last && rows[rise.first + 1].gap <= bottom + slack) ++rise.first;
    rise.loss = rows[rise.last].gap - rows[rise.first].gap;
    return rise;
}

}  // namespace

std::optional<Lap> ReadLap(const track::Track& track) {
    const std::int16_t time = track.results[1].time;
    if (track.Refused() || time <= 0 || time >= track::kNoTime || track.ghostFrameCount < 2)
        return std::nullopt;
    Lap lap;
    lap.lapTime = time;
    lap.frameCount = track.ghostFrameCount;
    const double steps = lap.frameCount - 1;
    lap.frameStep = time / 100.0 / steps;
    const float scale = track::GhostScale(track.worldSize);
    lap.samples.reserve(static_cast<std::size_t>(lap.frameCount));
    for (int f = 0; f < lap.frameCount; ++f) {
        // Frames lie back to back: the first one beyond the file ends the lap.
        const std::optional<track::GhostPoint> point = track::GhostFrame(track, f);
        if (!point) break;
        Sample s;
        s.frame = f;
        s.time = f * (time / 100.0) / steps;
        s.x = point->x;
        s.y = point->y;
        const track::MapPixel at = track::GhostPixel(*point, scale);
        s.column = at.column;
        s.row = at.row;
        if (!lap.samples.empty()) {
            const Sample& before = lap.samples.back();
            const double step = Apart(before, s);
            s.distance = before.distance + step;
            s.speed = step / lap.frameStep;
        }
        lap.samples.push_back(s);
    }
    if (lap.samples.size() < 2) return std::nullopt;
    lap.samples[0].speed = lap.samples[1].speed;
    return lap;
}

Summary Summarise(const Lap& lap) {
    Summary summary;
    const std::vector<Sample>& s = lap.samples;
    if (s.empty()) return summary;
    if (lap.Duration() > 0) summary.averageSpeed = lap.Length() / lap.Duration();
    summary.top = *std::max_element(
        s.begin(), s.end(), [](const Sample& a, const Sample& b) { return a.speed < b.speed; });
    // The fastest speed after each frame, to tell whether a faster one follows.
    std::vector<double> fastestAfter(s.size(), -1);
    for (std::size_t f = s.size() - 1; f > 0; --f)
        fastestAfter[f - 1] = std::max(fastestAfter[f], s[f].speed);
    double fastestBefore = -1;
    for (std::size_t f = 0; f < s.size(); ++f) {
        const bool between = fastestBefore > s[f].speed && fastestAfter[f] > s[f].speed;
        if (between && (!summary.slowest || s[f].speed < summary.slowest->speed))
            summary.slowest = s[f];
        fastestBefore = std::max(fastestBefore, s[f].speed);
    }
    const double first = TimeAtDistance(lap, lap.Length() / 3);
    const double second = TimeAtDistance(lap, 2 * lap.Length() / 3);
    summary.sectors = {first, second - first, lap.Duration() - second};
    return summary;
}

double TimeAtDistance(const Lap& lap, double distance) {
    if (lap.samples.empty()) return 0;
    return MarkAt(MarksOf(lap), distance).time;
}

std::optional<Sample> NearestSample(const Lap& lap, int column, int row, int reach) {
    std::optional<Sample> nearest;
    int best = std::numeric_limits<int>::max();
    for (const Sample& s : lap.samples) {
        // Only frames the overlay draws.
        if (!track::MapPixel{s.column, s.row}.InsideMargin()) continue;
        const int dx = std::abs(s.column - column);
        const int dy = std::abs(s.row - row);
        if (dx > reach || dy > reach || dx * dx + dy * dy >= best) continue;
        best = dx * dx + dy * dy;
        nearest = s;
    }
    return nearest;
}

bool SameMap(const track::Track& a, const track::Track& b) {
    if (a.worldSize != b.worldSize || a.landmapCount != b.landmapCount) return false;
    const auto runs = [](const track::Track& t) {
        std::vector<std::pair<int, int>> all;
        track::ForEachRun(t, [&](int code, int length) {
            all.emplace_back(code, length);
            return true;
        });
        return all;
    };
    const auto heights = [](const track::Track& t) {
        std::vector<int> all(static_cast<std::size_t>(track::kHeightMapSize), -1);
        track::ForEachHeight(
            t, [&](int cell, std::uint8_t h) { all[static_cast<std::size_t>(cell)] = h; });
        return all;
    };
    return runs(a) == runs(b) && heights(a) == heights(b);
}

std::vector<AlignedRow> Align(const Lap& a, const Lap& b) {
    std::vector<AlignedRow> rows;
    if (a.samples.size() < 2 || b.samples.size() < 2) return rows;
    const Path path(a);
    // B's frames as marks along A's path.
    std::vector<Mark> marks;
    marks.reserve(b.samples.size());
    std::size_t segment = 0;
    double along = 0;
    for (std::size_t j = 0; j < b.samples.size(); ++j) {
        const Sample& q = b.samples[j];
        if (j == 0) {
            along = 0;
        } else if (j + 1 == b.samples.size()) {
            along = a.Length();
        } else {
            // Far enough ahead for B's step with room to spare, not so far
            // that a lap's end could be taken for its start.
            const Sample& p = b.samples[j - 1];
            const double reach = along + 3 * Apart(p, q) + 2 * path.longestSegment;
            double nearest = std::numeric_limits<double>::infinity();
            double found = along;
            std::size_t foundSegment = segment;
            for (std::size_t k = segment; k < path.Segments() && path.points[k].distance <= reach;
                 ++k) {
                const auto [at, off] = path.Project(k, q.x, q.y);
                if (off < nearest) {
                    nearest = off;
                    found = std::max(at, along);
                    foundSegment = k;
                }
            }
            along = found;
            segment = foundSegment;
        }
        marks.push_back({along, q.time, q.speed});
    }
    // Where B stood still along A's path, the first mark of the stay counts.
    std::vector<Mark> first;
    for (const Mark& m : marks) {
        if (first.empty() || m.distance > first.back().distance) first.push_back(m);
    }
    rows.reserve(a.samples.size());
    for (const Sample& s : a.samples) {
        const Mark m = MarkAt(first, s.distance);
        rows.push_back({s.distance, s.time, m.time, m.time - s.time, s.speed, m.speed});
    }
    // Both laps end at the line.
    AlignedRow& last = rows.back();
    last.timeB = b.Duration();
    last.gap = last.timeB - last.timeA;
    last.speedB = b.samples.back().speed;
    return rows;
}

std::vector<Stretch> LosingStretches(std::span<const AlignedRow> rows, int count) {
    std::vector<Stretch> found;
    if (rows.size() < 2) return found;
    // Short enough to point at a bend or two, whatever the lap's length.
    const double reach = (rows.back().distance - rows.front().distance) / 8;
    // Rows r to r + 1 that a stretch already covers.
    std::vector<bool> taken(rows.size() - 1, false);
    while (static_cast<int>(found.size()) < count) {
        Stretch best;
        // The lowest gap within reach before each row, over untaken rows.
        std::deque<std::size_t> lows;
        for (std::size_t j = 0; j < rows.size(); ++j) {
            if (j > 0 && taken[j - 1]) lows.clear();
            while (!lows.empty() && rows[j].distance - rows[lows.front()].distance > reach)
                lows.pop_front();
            if (!lows.empty() && rows[j].gap - rows[lows.front()].gap > best.loss)
                best = {lows.front(), j, rows[j].gap - rows[lows.front()].gap};
            while (!lows.empty() && rows[lows.back()].gap >= rows[j].gap) lows.pop_back();
            lows.push_back(j);
        }
        if (best.loss <= 0) break;
        best = Trimmed(rows, best);
        std::fill(taken.begin() + static_cast<std::ptrdiff_t>(best.first),
                  taken.begin() + static_cast<std::ptrdiff_t>(best.last), true);
        found.push_back(best);
    }
    return found;
}

}  // namespace lap
