#include "trackgen/track_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace trackgen {
namespace {

constexpr std::int64_t kAuthorBeforeTrailer = 536;
constexpr std::int64_t kCarRecordSize = 1344;

void PutText(std::vector<std::uint8_t>& b, std::int64_t at, const std::string& text,
             std::size_t width) {
    for (std::size_t i = 0; i < width && i < text.size(); ++i)
        b[at + i] = static_cast<std::uint8_t>(text[i]);
}

}  // namespace

void Put16(std::vector<std::uint8_t>& b, std::int64_t at, std::int32_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& b, std::int64_t at, std::int32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, (v >> 16) & 0xFFFF);
}

TrackLayout LayoutOf(const TrackContents& t) {
    TrackLayout l;
    const std::int64_t pairs =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(t.landmap.size()));
    l.heightMap = 20 + 2 * pairs;
    l.objects = l.heightMap + 4096;
    const std::int64_t objectsEnd = l.objects + 2 + 8 * static_cast<std::int64_t>(t.objects.size());
    l.trailer = objectsEnd + static_cast<std::int64_t>(t.gapBeforeAuthor) + kAuthorBeforeTrailer;
    l.ghost = l.trailer + 9625;
    l.end = l.ghost + 2 + 12 * static_cast<std::int64_t>(t.ghost.size());
    return l;
}

std::vector<std::uint8_t> WriteTrack(const TrackContents& t) {
    const TrackLayout l = LayoutOf(t);
    std::vector<std::uint8_t> b(static_cast<std::size_t>(l.end), 0);

    Put16(b, 0, t.version);
    PutText(b, 2, t.mark, 2);
    Put32(b, 4, t.trailerOffset.value_or(static_cast<std::int32_t>(l.trailer)));
    b[8] = t.worldSize;
    b[9] = t.waterLevel;
    b[10] = t.angle;
    b[12] = t.rotationLow;
    b[13] = t.rotationHigh;
    b[14] = t.zoom;
    b[15] = t.startFinishLine;
    const auto pairs = static_cast<std::int32_t>(std::max<std::size_t>(1, t.landmap.size()));
    Put32(b, 16, t.landmapCount.value_or(pairs - 1));
    for (std::size_t k = 0; k < t.landmap.size(); ++k) {
        b[20 + 2 * k] = t.landmap[k][0];
        b[21 + 2 * k] = t.landmap[k][1];
    }
    std::copy(t.heights.begin(), t.heights.end(), b.begin() + l.heightMap);

    Put16(b, l.objects, t.objectCount.value_or(static_cast<std::int16_t>(t.objects.size())));
    for (std::size_t j = 0; j < t.objects.size(); ++j) {
        const std::int64_t at = l.objects + 2 + 8 * static_cast<std::int64_t>(j);
        b[at] = static_cast<std::uint8_t>(t.objects[j].type);
        Put16(b, at + 2, t.objects[j].x);
        Put16(b, at + 4, t.objects[j].y);
        b[at + 7] = t.objects[j].heading;
    }

    const std::int64_t r = l.trailer;
    PutText(b, r - kAuthorBeforeTrailer, t.author, 30);
    Put32(b, r - 4, t.trackLength);
    Put16(b, r, t.bestTime);
    for (std::int64_t p = 0; p < 6; ++p) Put16(b, r + 2 + 2 * p, t.placeTimes[p]);
    PutText(b, r + 14, t.bestName, 13);
    for (std::int64_t p = 0; p < 6; ++p) PutText(b, r + 27 + 13 * p, t.placeNames[p], 13);
    for (int k = 0; k < 7; ++k) {
        const std::int64_t car = r + 105 + kCarRecordSize * k;
        for (std::int64_t i = 0; i < kCarRecordSize; ++i)
            b[car + i] = static_cast<std::uint8_t>((static_cast<std::int64_t>(k) * 31 + i) & 0xFF);
        const std::size_t nameBytes = std::min<std::size_t>(t.carNames[k].size() + 1, 13);
        for (std::size_t i = 0; i < nameBytes; ++i) b[car + i] = 0;
        PutText(b, car, t.carNames[k], 13);
    }
    const RecordDate& d = t.date;
    const std::int16_t date[8] = {d.year, d.month,  d.dayOfWeek, d.day,
                                  d.hour, d.minute, d.second,    d.milliseconds};
    for (std::int64_t i = 0; i < 8; ++i) Put16(b, r + 9513 + 2 * i, date[i]);

    Put16(b, l.ghost, t.ghostLength.value_or(static_cast<std::int16_t>(2 * t.ghost.size())));
    for (std::size_t f = 0; f < t.ghost.size(); ++f) {
        const std::int64_t at = l.ghost + 2 + 12 * static_cast<std::int64_t>(f);
        Put16(b, at, t.ghost[f].x);
        Put16(b, at + 4, t.ghost[f].y);
    }
    return b;
}

bool SaveFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // The name is UTF-8 on every system (a plain string means the ANSI code
    // page to Windows).
    std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace trackgen
