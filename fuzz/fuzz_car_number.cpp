// The car number of an input-dialog answer, on arbitrary text, against a
// model written the other way round: every step taken modulo 2^32, which
// gives the low 32 bits of the 64-bit sum.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "export/car_file.h"

namespace {

std::uint32_t Model(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::size_t i = text.find_first_not_of(std::string_view(" \t", 2));
    if (i == std::string_view::npos) return 0;
    std::uint32_t sign = 1;
    if (text[i] == '+' || text[i] == '-') sign = text[i++] == '-' ? 0xFFFFFFFFu : 1u;
    std::uint32_t base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == '%')) base = text[i++] == '$' ? 16 : 2;
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        const char* hit = c == '\0' ? nullptr : std::strchr(kDigits, c);
        if (!hit || static_cast<std::uint32_t>(hit - kDigits) >= base) break;
        value = value * base + static_cast<std::uint32_t>(hit - kDigits);
    }
    return value * sign;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t got = exporter::ReadCarNumber(text);
    const std::uint32_t want = Model(text);
    if (static_cast<std::uint32_t>(got) != want) {
        std::fprintf(stderr, "ReadCarNumber gave %d, the model %u\n", got, want);
        __builtin_trap();
    }
    return 0;
}
