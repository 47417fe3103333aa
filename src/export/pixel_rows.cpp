#include "export/pixel_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define TA_HAVE_SSSE3_PATH 1
#endif

namespace exporter {
namespace {

#ifdef TA_HAVE_SSSE3_PATH
const bool hasSsse3 = __builtin_cpu_supports("ssse3");

// Four pixels per step: 16 bytes are loaded and stored, of which 12 count;
// the 4 extra bytes are overwritten by the next step. So the vector loop
// stops while at least 6 pixels remain, keeping every access in the row.
__attribute__((target("ssse3"))) int ColoursToBgrSsse3(const std::int32_t* in, std::uint8_t* out,
                                                       int width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(pixels, order));
    }
    return x;
}

__attribute__((target("ssse3"))) int BgrToRgbSsse3(const std::uint8_t* in, std::uint8_t* out,
                                                   int width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(pixels, order));
    }
    return x;
}
#endif

}  // namespace

void ColoursToBgr(const std::int32_t* colours, std::uint8_t* out, int width) {
    int x = 0;
#ifdef TA_HAVE_SSSE3_PATH
    if (hasSsse3) x = ColoursToBgrSsse3(colours, out, width);
#endif
    for (; x < width; ++x) {
        const std::int32_t c = colours[x];
        out[3 * x] = static_cast<std::uint8_t>(c >> 16);
        out[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
}

void BgrToRgb(const std::uint8_t* bgr, std::uint8_t* rgb, int width) {
    int x = 0;
#ifdef TA_HAVE_SSSE3_PATH
    if (hasSsse3) x = BgrToRgbSsse3(bgr, rgb, width);
#endif
    for (; x < width; ++x) {
        rgb[3 * x] = bgr[3 * x + 2];
        rgb[3 * x + 1] = bgr[3 * x + 1];
        rgb[3 * x + 2] = bgr[3 * x];
    }
}

}  // namespace exporter
