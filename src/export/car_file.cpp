#include "export/car_file.h"

#include <array>
#include <span>
#include <vector>

#include "app/state.h"
#include "app/status_log.h"
#include "export/export.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/windowing.h"
#include "track/layout.h"
#include "track/reader.h"

namespace exporter {
namespace {

// The record's length, 1,344, and the value 1, as two little-endian u32.
constexpr std::array<std::uint8_t, kCarFileHeaderSize> kCarFileHeader = {0x40, 0x05, 0, 0,
                                                                         1,    0,    0, 0};

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

void Post(const std::string& message) {
    app::state.StatusMessage = message;
    app::PostStatus();
}

}  // namespace

std::int32_t ReadCarNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned, so that long answers wrap as the 64-bit sum would.
    std::uint64_t value = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i)
        value = value * static_cast<std::uint64_t>(base) +
                static_cast<std::uint64_t>(DigitValue(text[i]));
    if (negative) value = 0 - value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::string ProposedPath(const std::string& text, const std::string& extension) {
    const std::string name = platform::PathFromText(text) + extension;
    // A name the dialog would cut at a separator or blank out is no name.
    const bool usable = platform::DialogInitialName(name) == name;
    return platform::CurrentDirectory() + (usable ? name : "");
}

std::string ProposedCarName(int k) {
    return ProposedPath(app::state.CarNames[k], ".car");
}

void ExtractCar() {
    const app::AnalyserState& s = app::state;
    RecordWrite(app::WriteOutcome::kNothing, "", "");
    // Car positions come from the last accepted parse; without one, or with a
    // refused file now in the buffer, they would point at the wrong bytes.
    if (!s.TrackAccepted) {
        RecordWrite(app::WriteOutcome::kRefused, "", "no track loaded");
        Post("Car not saved: no track loaded");
        return;
    }
    if (s.TrackRejected != 0) {
        RecordWrite(app::WriteOutcome::kRefused, "", "the loaded file is not a track");
        Post("Car not saved: the loaded file is not a track");
        return;
    }

    const std::string answer = platform::InputDialog("save car", "Select No.  0 (Best), 1-6", "");
    const std::int32_t k = ReadCarNumber(answer);
    if (k < 0 || k >= track::kCarCount) return;

    const std::int64_t position = track::CarRecordPosition(s.TrailerData - s.TrackData, k);
    const std::span<const std::uint8_t> record =
        track::LoadedTrack().Bytes(position, track::kCarRecordSize);
    if (record.empty()) {
        const std::string why =
            "car " + std::to_string(k) + " lies beyond the end of the track file";
        RecordWrite(app::WriteOutcome::kNotSaved, "", why);
        Post("Car not saved: " + why);
        return;
    }

    const std::string chosen =
        platform::SaveFileDialog("save car", ProposedCarName(k), "car|*.car", 0);
    if (chosen.empty()) return;

    std::vector<std::uint8_t> bytes(kCarFileHeader.begin(), kCarFileHeader.end());
    bytes.insert(bytes.end(), record.begin(), record.end());
    const platform::Result<> written = platform::WriteFileSafely(chosen, bytes, s.TrackIdentity);
    if (!written) {
        RecordFailedWrite(chosen, written.failure());
        Post("Car not saved: " + platform::TextFromPath(written.reason()));
        return;
    }
    RecordWrite(app::WriteOutcome::kSaved, chosen, "");
    Post(s.CarNames[k] + " saved");
}

}  // namespace exporter
