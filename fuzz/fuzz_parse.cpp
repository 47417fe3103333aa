// Load and parse on arbitrary bytes. The first input byte picks how far the
// file is stretched with zeros, so that lengths around and past the 1,000,000
// bytes the tool takes are reached without huge inputs.
#include <cstddef>
#include <cstdint>

#include "app/state.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::ResetTool();
    std::size_t padding = 0;
    if (size > 0) {
        const std::uint8_t mode = data[0];
        if (mode == 0xFF) padding = 1'000'000 - std::min<std::size_t>(size - 1, 1'000'000);
        if (mode == 0xFE) padding = 1'000'001;
        ++data;
        --size;
    }
    fuzzing::WriteScratchTrack(data, size, padding);
    fuzzing::LoadAndParseScratchTrack();
    // A second load of the same file after an accepted one, as a user would.
    fuzzing::LoadAndParseScratchTrack();
    return 0;
}
