// Every read of track bytes goes through a Reader: it knows how many bytes
// the loaded file has, and a read that would reach outside them answers
// "missing" (numbers 0, texts empty) instead of touching other memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace track {

class Reader {
  public:
    Reader() = default;
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int64_t Size() const { return static_cast<std::int64_t>(bytes_.size()); }
    // Whether all of [pos, pos + length) lies inside; never overflows for
    // any 64-bit pos and any non-negative length.
    bool Has(std::int64_t pos, std::int64_t length) const {
        return pos >= 0 && length >= 0 && pos <= Size() && length <= Size() - pos;
    }

    std::uint8_t U8(std::int64_t pos) const { return Has(pos, 1) ? bytes_[pos] : 0; }
    std::int16_t I16(std::int64_t pos) const {
        if (!Has(pos, 2)) return 0;
        return static_cast<std::int16_t>(bytes_[pos] | (bytes_[pos + 1] << 8));
    }
    std::uint16_t U16(std::int64_t pos) const { return static_cast<std::uint16_t>(I16(pos)); }
    std::int32_t I32(std::int64_t pos) const {
        if (!Has(pos, 4)) return 0;
        const std::uint32_t v = bytes_[pos] | (bytes_[pos + 1] << 8) | (bytes_[pos + 2] << 16) |
                                (static_cast<std::uint32_t>(bytes_[pos + 3]) << 24);
        return static_cast<std::int32_t>(v);
    }
    // A text of at most `width` bytes, ending early at a NUL. Empty when the
    // field does not lie wholly inside.
    std::string Text(std::int64_t pos, int width) const {
        if (!Has(pos, width)) return {};
        std::string text;
        for (int i = 0; i < width && bytes_[pos + i] != 0; ++i)
            text += static_cast<char>(bytes_[pos + i]);
        return text;
    }
    // The bytes [pos, pos + length), or an empty span when they do not all lie inside.
    std::span<const std::uint8_t> Bytes(std::int64_t pos, std::int64_t length) const {
        if (!Has(pos, length)) return {};
        return bytes_.subspan(static_cast<std::size_t>(pos), static_cast<std::size_t>(length));
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// The loaded track file: the first TrackFileSize bytes of the TrackBuffer,
// never more than its first half.
Reader LoadedTrack();

}  // namespace track
