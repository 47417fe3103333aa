// The built-in BMP file image from which the track picture is assembled:
// header for 512 x 560 at 8 bits per pixel, the 256-entry palette and the
// first 256 pixel bytes.
#pragma once

#include <array>
#include <cstdint>

namespace picture {

inline constexpr int kPictureWidth = 512;
inline constexpr int kPictureHeight = 560;
inline constexpr int kMapSize = 512;  // the landmap area: rows 0..511, square
inline constexpr std::int64_t kTemplateSize = 1334;
inline constexpr std::int64_t kPixelOffset = 1078;
inline constexpr std::int64_t kPixelBytes = std::int64_t{kPictureWidth} * kPictureHeight;
inline constexpr std::int64_t kImageSize = kPixelOffset + kPixelBytes;  // 287,798
inline constexpr std::uint8_t kBackgroundIndex = 240;

using Template = std::array<std::uint8_t, kTemplateSize>;

// The 1,334 bytes, palette computed once from its stretch rules.
const Template& PictureTemplate();

}  // namespace picture
