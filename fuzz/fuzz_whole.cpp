// The whole road of one track through the tool: "load" (load, parse and,
// unless refused, the picture), the three overlays in an order the input
// picks, the read-out at a few points, "Car" with a car number from the
// input, and "save" as JPEG.
//
// Option bytes come from the end of the input, so that the front stays a
// track file as it is:
//   last byte      overlay order (low 3 bits, modulo 6); bit 3 stretches the
//                  file to exactly 1,000,000 bytes, bit 4 to one byte more
//                  (refused by the load); the stretch is zeros, or with bit 5
//                  the last 8 bytes of the file over and over (object
//                  records), with bit 6 its last 12 (ghost frames)
//   byte before    JPEG quality override (0 keeps 70, above 100 means 100)
//   byte before    length L (modulo 32) of the car answer, the L bytes before it
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/actions.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "export/car_file.h"
#include "platform/surface.h"
#include "shell/dispatch.h"
#include "support.h"
#include "track/layout.h"

namespace {

struct Options {
    int order = 0;
    std::size_t padding = 0;
    std::size_t fillLength = 0;
    int quality = 0;
    std::string carAnswer;
};

// Takes the option bytes off the end of the input.
Options TakeOptions(const std::uint8_t* data, std::size_t& size) {
    Options o;
    const auto take = [&]() -> int { return size > 0 ? data[--size] : -1; };
    const int flags = take();
    if (flags >= 0) {
        o.order = (flags & 7) % 6;
        if (flags & 0x10) {
            o.padding = 1'000'001;
        } else if (flags & 0x08) {
            o.padding = 1'000'000;
        }
        if (flags & 0x40) {
            o.fillLength = 12;
        } else if (flags & 0x20) {
            o.fillLength = 8;
        }
    }
    const int quality = take();
    if (quality >= 0) o.quality = quality;  // the override clamps to 0..100
    const int length = take();
    if (length >= 0) {
        const std::size_t n = std::min<std::size_t>(length % 32, size);
        o.carAnswer.assign(reinterpret_cast<const char*>(data + size - n), n);
        size -= n;
    }
    return o;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::uint8_t chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(file);
    }
    return bytes;
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_whole: %s\n", what);
        __builtin_trap();
    }
}

constexpr std::array<std::array<int, 3>, 6> kOrders = {{
    {app::kWaterButton, app::kObjectsButton, app::kGhostButton},
    {app::kWaterButton, app::kGhostButton, app::kObjectsButton},
    {app::kObjectsButton, app::kWaterButton, app::kGhostButton},
    {app::kObjectsButton, app::kGhostButton, app::kWaterButton},
    {app::kGhostButton, app::kWaterButton, app::kObjectsButton},
    {app::kGhostButton, app::kObjectsButton, app::kWaterButton},
}};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    fuzzing::StartTool();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Options options = TakeOptions(data, size);
    const std::string carPath = fuzzing::ScratchPath("car.car");
    const std::string jpegPath = fuzzing::ScratchPath("picture.jpg");
    ::unlink(carPath.c_str());
    ::unlink(jpegPath.c_str());

    fuzzing::ResetTool();
    app::state.JpegQuality = options.quality;
    const std::span<const std::uint8_t> fill =
        size >= options.fillLength ? std::span(data + size - options.fillLength, options.fillLength)
                                   : std::span<const std::uint8_t>();
    fuzzing::WriteScratchTrack(data, size, options.padding > size ? options.padding - size : 0,
                               fill);
    auto& ui = fuzzing::Ui();

    ui.answers = {fuzzing::ScratchTrackPath()};
    shell::RunButton(app::kLoadButton);
    for (const int button : kOrders[options.order]) shell::RunButton(button);
    // The read-out under the pointer: the map's corners, its middle, and
    // a point the car answer's length picks.
    const int spot = static_cast<int>(options.carAnswer.size()) * 16;
    for (const std::array<int, 2> at : {std::array{0, 0}, std::array{511, 511}, std::array{0, 511},
                                        std::array{256, 255}, std::array{spot, 511 - spot}}) {
        app::ReadOutAt(at[0], at[1]);
    }

    ui.answers = {options.carAnswer, carPath};
    shell::RunButton(app::kCarButton);
    // The car file holds the header and the record as it stands in the track.
    const app::AnalyserState& s = app::state;
    const std::int32_t k = exporter::ReadCarNumber(options.carAnswer);
    const std::int64_t record = track::CarRecordPosition(s.TrailerData - s.TrackData, k);
    const auto fileSize = static_cast<std::int64_t>(std::max(size, options.padding));
    const bool carExpected = s.TrackAccepted && s.TrackRejected == 0 && k >= 0 && k < 7 &&
                             fileSize <= app::kTrackHalfSize && record >= 0 &&
                             record + track::kCarRecordSize <= fileSize;
    Check(Exists(carPath) == carExpected, "car file written when it should not, or not written");
    if (carExpected) {
        const std::vector<std::uint8_t> car = ReadFile(carPath);
        Check(car.size() == exporter::kCarFileSize, "car file of the wrong size");
        static constexpr std::uint8_t kHeader[] = {0x40, 0x05, 0, 0, 1, 0, 0, 0};
        Check(std::equal(kHeader, kHeader + 8, car.begin()), "car file header");
        for (std::int64_t i = 0; i < track::kCarRecordSize; ++i) {
            const std::int64_t at = record + i;
            const auto from = static_cast<std::int64_t>(size);
            const std::uint8_t expected = at < from      ? data[at]
                                          : fill.empty() ? 0
                                                         : fill[(at - from) % fill.size()];
            Check(car[static_cast<std::size_t>(8 + i)] == expected,
                  "car record differs from the track");
        }
    }

    ui.answers = {jpegPath};
    shell::RunButton(app::kSaveButton);
    const bool pictured = platform::PictureExists(1);
    Check(Exists(jpegPath) == pictured, "JPEG written without a picture, or not written");
    return 0;
}
