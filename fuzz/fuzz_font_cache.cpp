// The font cache file's reader on arbitrary bytes: as they stand, and framed
// by the file's magic and a right checksum, so that the fields behind them
// are reached. An entry it accepts holds only glyphs its size allows, and
// reads back the same once written again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/font_cache.h"

namespace {

// FNV-1a, the cache's checksum, written again here as a model.
std::uint64_t Sum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
    return hash;
}

void Fail(const char* what) {
    std::fprintf(stderr, "font cache: %s\n", what);
    __builtin_trap();
}

void Check(std::string_view bytes, int pixels) {
    const auto entry = platform::ParseFontCache(bytes, pixels);
    if (!entry) return;
    const int most = 4 * pixels;
    const platform::Font& font = entry->font;
    if (font.ascent < 0 || font.ascent > most || font.descent < 0 || font.descent > most)
        Fail("ascent or descent beyond the size");
    for (const platform::Glyph& glyph : font.glyphs) {
        if (glyph.width < 0 || glyph.rows < 0 || glyph.width > most || glyph.rows > most ||
            glyph.left < -most || glyph.left > most || glyph.top < -most || glyph.top > most ||
            glyph.advance < -most || glyph.advance > most)
            Fail("glyph metrics beyond the size");
        if (glyph.mask.size() != static_cast<std::size_t>(glyph.width) * glyph.rows)
            Fail("mask of the wrong size");
    }
    const std::string written = platform::FontCacheBytes(*entry);
    const auto again = platform::ParseFontCache(written, pixels);
    if (!again || platform::FontCacheBytes(*again) != written) Fail("no round trip");
}

}  // namespace

// The first byte is the size asked for; the rest is the file, or the body
// of one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int pixels = 1 + data[0];
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    Check(body, pixels);

    static const std::string magic = [] {
        const std::string empty = platform::FontCacheBytes({});
        return empty.substr(0, empty.find('\n') + 1);
    }();
    std::string file = magic;
    file += body;
    const std::uint64_t sum = Sum(file);
    for (int i = 0; i < 8; ++i) file += static_cast<char>(sum >> (8 * i));
    Check(file, pixels);
    return 0;
}
