// The landmap picture and its caption.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

#include "app/state.h"
#include "app/status_log.h"
#include "picture/overlay.h"
#include "picture/picture.h"
#include "picture/template.h"
#include "platform/encoding.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/surface.h"
#include "platform/windowing.h"
#include "track/layout.h"
#include "track/reader.h"

namespace picture {
namespace {

// The picture half of the TrackBuffer, or an empty span when it cannot hold
// the image (no TrackBuffer yet).
std::span<std::uint8_t> PictureArea() {
    app::AnalyserState& s = app::state;
    if (s.PictureData < 0 || !track::Reader(s.TrackBuffer).Has(s.PictureData, kImageSize))
        return {};
    return std::span(s.TrackBuffer).subspan(static_cast<std::size_t>(s.PictureData), kImageSize);
}

// Where the map's pixels begin: above the caption band, which is stored first.
constexpr std::int64_t kMapStart =
    kPixelOffset + std::int64_t{kPictureHeight - kMapSize} * kPictureWidth;

// Runs continue across rows: the first stored row is the bottom map row, so
// the write position starts at column 0 of picture row 511 and moves up.
// What no run reaches (the whole map of a damaged file) stays background.
void DecodeLandmap(std::span<std::uint8_t> area, std::int32_t n) {
    constexpr std::ptrdiff_t kAlways = 64;
    const track::Reader file = track::LoadedTrack();
    std::array<std::uint8_t, 16> pixels{};
    for (std::size_t code = 0; code < pixels.size(); ++code)
        pixels[code] = static_cast<std::uint8_t>(app::state.TerrainIndexTable[code] & 0xFF);
    const auto end = area.begin() + kImageSize;
    auto write = area.begin() + kMapStart;
    const std::span<const std::uint8_t> runs =
        file.Bytes(track::kLandmapOffset, 2 * track::LandmapPairsInside(n, file.Size()));
    // Once the pixel array is full nothing more can land.
    for (std::size_t k = 0; k + 1 < runs.size() && write < end; k += 2) {
        const unsigned value = runs[k] | (runs[k + 1] << 8);
        const auto run = std::min<std::ptrdiff_t>(value >> 4, end - write);
        const std::uint8_t pixel = pixels[value & 15];
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
    }
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

// The file part of the path less its last four characters (".trk").
std::string TrackName(const std::string& path) {
    const std::string file = platform::TextFromPath(platform::FilePart(path));
    return file.size() > 4 ? file.substr(0, file.size() - 4) : std::string();
}

}  // namespace

void LoadCaptionFont() {
    platform::LoadFontNumbered(kCaptionFont, "Lucida Console", 12);
}

void BuildTrackPicture() {
    app::AnalyserState& s = app::state;
    const std::span<std::uint8_t> area = PictureArea();
    if (area.empty()) return;
    app::NoteBufferWrite(s.PictureData, static_cast<std::int64_t>(area.size()));
    platform::WillWrite(area);

    const Template& bmp = PictureTemplate();
    std::copy(bmp.begin(), bmp.begin() + kPixelOffset, area.begin());
    // The caption band; DecodeLandmap fills the map above it.
    std::fill(area.begin() + kPixelOffset, area.begin() + kMapStart, kBackgroundIndex);

    const std::int32_t n = track::LoadedTrack().I32(track::kLandmapCountOffset);
    s.LandmapSize = n;
    // Decoded once, with the landmap in it: the header is the template's, so
    // a picture that decodes before the landmap decodes after it too.
    DecodeLandmap(area, n);
    if (!platform::PictureFromBitmap(kTrackPicture, area)) return;
    ShowTrackPicture();

    platform::BeginDrawing(kTrackPicture);
    platform::SetDrawingFont(platform::FontHandle(kCaptionFont));

    // The time shown, the driver line and the first part of the picture's name.
    std::int32_t time = s.BestTime;
    std::string driverLine = "no Best Time";
    std::string namePart = std::to_string(time);
    if (s.PlaceTimes[1] < app::kNoTime) {
        time = s.PlaceTimes[1];
        driverLine = s.PlaceNames[1] + " / " + s.CarNames[1];
        namePart = std::to_string(time) + "_" + s.PlaceNames[1];
    } else if (s.BestTime < app::kNoTime) {
        driverLine = s.BestName + " / " + s.CarNames[0];
        namePart = std::to_string(time) + "_" + s.BestName;
    }

    const platform::Colour white = platform::RgbColour(255, 255, 255);
    const platform::Colour band = platform::RgbColour(0, 100, 150);
    platform::DrawTextAt(20, 530, TimeText(time), white, band);

    const std::string trackName = TrackName(s.TrackPath);
    s.PictureName = trackName + "_" + namePart;
    s.StatusMessage = s.PictureName;
    app::PostStatus();

    platform::DrawTextAt(90, 520, trackName, white, band);
    platform::DrawTextAt(90, 540, driverLine, white, band);
    platform::EndDrawing();
    ShowTrackPicture();
}

}  // namespace picture
