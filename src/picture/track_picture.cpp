// The landmap picture and its caption.
#include <algorithm>
#include <array>
#include <cstring>

#include "picture/colours.h"
#include "picture/picture.h"
#include "picture/template.h"
#include "platform/memory.h"
#include "raster/bitmap.h"
#include "raster/draw.h"

namespace picture {
namespace {

// Where the map's pixels begin: above the caption band, which is stored first.
constexpr std::int64_t kMapStart =
    kPixelOffset + std::int64_t{kPictureHeight - kMapSize} * kPictureWidth;

// Runs continue across rows: the first stored row is the bottom map row, so
// the write position starts at column 0 of picture row 511 and moves up.
// What no run reaches (the whole map of a damaged file) stays background.
void DecodeLandmap(const track::Track& track, std::span<std::uint8_t> area) {
    constexpr std::ptrdiff_t kAlways = 64;
    std::array<std::uint8_t, 16> pixels{};
    for (std::size_t code = 0; code < pixels.size(); ++code)
        pixels[code] = static_cast<std::uint8_t>(kTerrainIndex[code] & 0xFF);
    const auto end = area.begin() + kImageSize;
    auto write = area.begin() + kMapStart;
    track::ForEachRun(track, [&](int code, int length) {
        // Once the pixel array is full nothing more can land.
        const auto run = std::min<std::ptrdiff_t>(length, end - write);
        const std::uint8_t pixel = pixels[static_cast<std::size_t>(code)];
        if (end - write >= std::max<std::ptrdiff_t>(run, kAlways) + 16) {
            // Runs are short, and a fill of a few bytes costs more to start
            // than to do: sixteen bytes a store, and the first kAlways bytes
            // unconditionally, which covers nine runs in ten without a loop
            // whose end the processor mispredicts. What lands past the run
            // is overwritten by the next run (or the background).
            std::array<std::uint8_t, 16> sixteen;
            sixteen.fill(pixel);
            for (std::ptrdiff_t i = 0; i < kAlways; i += 16) std::memcpy(&write[i], &sixteen, 16);
            for (std::ptrdiff_t i = kAlways; i < run; i += 16) std::memcpy(&write[i], &sixteen, 16);
        } else {
            std::fill_n(write, run, pixel);
        }
        write += run;
        return write < end;
    });
    std::fill(write, end, kBackgroundIndex);
}

// "54.32" from 5432: two leading digits above 999, one otherwise, then the
// last two. Short texts are taken whole, as the tool always did.
std::string TimeText(std::int32_t time) {
    const std::string s = std::to_string(time);
    const std::size_t lead = time > 999 ? 2 : 1;
    const std::string tail = s.size() > 2 ? s.substr(s.size() - 2) : s;
    return s.substr(0, lead) + "." + tail;
}

}  // namespace

std::string TrackName(std::string_view fileName) {
    return fileName.size() > 4 ? std::string(fileName.substr(0, fileName.size() - 4)) : "";
}

Caption CaptionFor(const track::Track& track, std::string_view trackName) {
    const track::Result& best = track.results[0];
    const track::Result& first = track.results[1];
    std::int32_t time = best.time;
    Caption caption;
    caption.driverLine = "no Best Time";
    std::string namePart = std::to_string(time);
    if (first.time < track::kNoTime) {
        time = first.time;
        caption.driverLine = first.driver + " / " + first.car;
        namePart = std::to_string(time) + "_" + first.driver;
    } else if (best.time < track::kNoTime) {
        caption.driverLine = best.driver + " / " + best.car;
        namePart = std::to_string(time) + "_" + best.driver;
    }
    caption.time = TimeText(time);
    caption.trackName = std::string(trackName);
    caption.pictureName = caption.trackName + "_" + namePart;
    return caption;
}

std::span<const std::uint8_t> AssembleBitmap(const track::Track& track,
                                             std::span<std::uint8_t> image) {
    if (image.size() < static_cast<std::size_t>(kImageSize)) return {};
    const std::span<std::uint8_t> area = image.first(kImageSize);
    platform::WillWrite(area);
    const Template& bmp = PictureTemplate();
    std::copy(bmp.begin(), bmp.begin() + kPixelOffset, area.begin());
    // The caption band; DecodeLandmap fills the map above it.
    std::fill(area.begin() + kPixelOffset, area.begin() + kMapStart, kBackgroundIndex);
    DecodeLandmap(track, area);
    return area;
}

void DrawCaption(raster::Picture& picture, const raster::Font& font, const Caption& caption) {
    const raster::Colour white = raster::RgbColour(255, 255, 255);
    const raster::Colour band = raster::RgbColour(0, 100, 150);
    raster::DrawText(picture, font, 20, 530, caption.time, white, band);
    raster::DrawText(picture, font, 90, 520, caption.trackName, white, band);
    raster::DrawText(picture, font, 90, 540, caption.driverLine, white, band);
}

bool BuildPicture(const track::Track& track, const Caption& caption, const raster::Font& font,
                  std::span<std::uint8_t> image, raster::Picture& picture) {
    if (!raster::DecodeBitmap(AssembleBitmap(track, image), picture)) return false;
    DrawCaption(picture, font, caption);
    return true;
}

}  // namespace picture
