#include "picture/read_out.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "lap/lap.h"
#include "picture/colours.h"
#include "picture/objects.h"
#include "picture/template.h"

namespace picture {
namespace {

// The terrain code of decoded pixel `p`, walking the runs as the picture
// builder lays them; -1 when they end before it.
int TerrainOfPixel(const track::Track& track, std::int64_t p) {
    std::int64_t start = 0;
    int terrain = -1;
    track::ForEachRun(track, [&](int code, int run) {
        start += run;
        if (p < start) terrain = code;
        return p >= start;
    });
    return terrain;
}

bool InsideTurnedRectangle(const Object& o, HalfSize size, int x, int y) {
    // Front and side directions as the overlay lays out the corners.
    const auto a = static_cast<double>(HeadingAngle(o.heading));
    const double dx = x - o.px;
    const double dy = y - o.py;
    const double along = dx * std::sin(a) - dy * std::cos(a);
    const double across = dx * std::cos(a) + dy * std::sin(a);
    return std::abs(along) <= size.length + 0.5 && std::abs(across) <= size.width + 0.5;
}

// The object drawn on top at (x, y): the passes in drawing order, each
// later hit replacing an earlier one, as later drawing covers earlier.
const Object* TopObjectAt(const track::Track& track, int x, int y, Object& found) {
    const int ws = track.worldSize;
    bool any = false;
    const auto take = [&](const Object& o) {
        found = o;
        any = true;
    };
    ForEachPlacedObject(track, [&](const Object& o) {
        if (o.type == 10 && DotInside(o) && std::abs(x - o.px) <= 1 && std::abs(y - o.py) <= 1)
            take(o);
    });
    ForEachPlacedObject(track, [&](const Object& o) {
        if (o.type == 9 && DotInside(o) && std::abs(x - o.px) <= 2 && std::abs(y - o.py) <= 2)
            take(o);
    });
    if (ws != 0) {
        const HalfSize large = LargeHalfSize(ws);
        ForEachPlacedObject(track, [&](const Object& o) {
            if (IsLargeRectangle(o.type) && PassesMarginTest(o, large.width) &&
                InsideTurnedRectangle(o, large, x, y))
                take(o);
        });
        const HalfSize small = SmallHalfSize(ws);
        ForEachPlacedObject(track, [&](const Object& o) {
            if (IsSmallRectangle(o.type) && PassesMarginTest(o, small.width) &&
                InsideTurnedRectangle(o, small, x, y))
                take(o);
        });
    }
    return any ? &found : nullptr;
}

std::string Number(int value) {
    return std::to_string(value);
}

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

std::string ObjectKind(int type) {
    switch (type) {
        case 10:
            return "tree";
        case 9:
            return "post";
        case 17:
        case 18:
            return "building";
        case 1:
            return "white cone";
        case 2:
            return "red cone";
        case 3:
            return "yellow cone";
        case 23:
            return "tyres";
        default:
            return "object";
    }
}

PointInfo InfoAt(const track::Track& track, int x, int y) {
    PointInfo info;
    if (track.Refused() || x < 0 || y < 0 || x >= kMapSize || y >= kMapSize) return info;
    info.valid = true;
    info.x = x;
    info.y = y;
    // Objects stand at column x / 2 and row 511 - y / 2, so each pixel
    // covers two track units a side.
    info.trackX = 2 * x;
    info.trackY = 2 * (511 - y);

    const std::int64_t pixel = std::int64_t{511 - y} * kMapSize + x;
    info.terrain = TerrainOfPixel(track, pixel);
    if (info.terrain >= 0) {
        const int index = kTerrainIndex[static_cast<std::size_t>(info.terrain)] & 0xFF;
        const Template& bmp = PictureTemplate();
        const std::size_t entry = 54 + 4 * static_cast<std::size_t>(index);
        info.blue = bmp[entry];
        info.green = bmp[entry + 1];
        info.red = bmp[entry + 2];
    }

    // Cell 0 is the bottom-left 8 x 8 square, as the water overlay paints it.
    const std::optional<std::uint8_t> height = track::Height(track, (511 - y) / 8 * 64 + x / 8);
    if (height) info.height = *height;
    info.waterLevel = track.waterLevel;

    Object found;
    if (const Object* o = TopObjectAt(track, x, y, found)) {
        info.objectType = o->type;
        info.heading = o->heading;
    }
    return info;
}

std::string ReadOutText(const PointInfo& info) {
    if (!info.valid) return "";
    const std::string dot = " \xB7 ";
    std::string text = "picture " + Number(info.x) + ", " + Number(info.y) + dot + "track " +
                       Number(info.trackX) + ", " + Number(info.trackY) + dot;
    if (info.terrain >= 0) {
        text += "terrain " + Number(info.terrain) + " (" + Number(info.red) + ", " +
                Number(info.green) + ", " + Number(info.blue) + ")";
    } else {
        text += "no terrain";
    }
    text += "\r\n";
    if (info.height >= 0) {
        text += "height " + Number(info.height) +
                (info.height < info.waterLevel ? ", under water" : ", dry") + " (level " +
                Number(info.waterLevel) + ")";
    } else {
        text += "no height";
    }
    if (info.objectType >= 0) {
        text += dot + ObjectKind(info.objectType) + " (" + Number(info.objectType) + "), heading " +
                Number(info.heading);
    }
    return text;
}

std::string GhostReadOutText(const track::Track& track, int x, int y) {
    const std::optional<lap::Lap> lap = lap::ReadLap(track);
    if (!lap) return "";
    const std::optional<lap::Sample> near = lap::NearestSample(*lap, x, y, kGhostReach);
    if (!near) return "";
    const std::string dot = " \xB7 ";
    std::string text = "ghost frame " + Number(near->frame) + dot + Fixed(near->time, 2) +
                       " s into the lap" + dot + Fixed(near->speed, 0) + " units/s";
    const double top = lap::Summarise(*lap).top.speed;
    if (top > 0) text += ", " + Fixed(100 * near->speed / top, 0) + "% of top";
    return text;
}

}  // namespace picture
