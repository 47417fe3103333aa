// Every binary format the tool reads (track files, the BMP image a picture
// is made from, the font cache) is read through a Reader: it knows how many bytes there are,
// and a read that would reach outside them answers "missing" (numbers 0,
// texts and spans empty) instead of touching other memory. Numbers are
// little-endian, assembled byte by byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace bytes {

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

    std::uint8_t U8(std::int64_t pos) const { return Has(pos, 1) ? At(pos) : 0; }
    std::uint16_t U16(std::int64_t pos) const {
        if (!Has(pos, 2)) return 0;
        return static_cast<std::uint16_t>(At(pos) | At(pos + 1) << 8);
    }
    std::int16_t I16(std::int64_t pos) const { return static_cast<std::int16_t>(U16(pos)); }
    std::uint32_t U32(std::int64_t pos) const {
        if (!Has(pos, 4)) return 0;
        return std::uint32_t{At(pos)} | std::uint32_t{At(pos + 1)} << 8 |
               std::uint32_t{At(pos + 2)} << 16 | std::uint32_t{At(pos + 3)} << 24;
    }
    std::int32_t I32(std::int64_t pos) const { return static_cast<std::int32_t>(U32(pos)); }
    std::uint64_t U64(std::int64_t pos) const {
        if (!Has(pos, 8)) return 0;
        return std::uint64_t{U32(pos)} | std::uint64_t{U32(pos + 4)} << 32;
    }
    // A text of at most `width` bytes, ending early at a NUL. Empty when the
    // field does not lie wholly inside.
    std::string Text(std::int64_t pos, int width) const {
        if (!Has(pos, width)) return {};
        std::string text;
        for (int i = 0; i < width && At(pos + i) != 0; ++i) text += static_cast<char>(At(pos + i));
        return text;
    }
    // The bytes [pos, pos + length), or an empty span when they do not all lie inside.
    std::span<const std::uint8_t> Bytes(std::int64_t pos, std::int64_t length) const {
        if (!Has(pos, length)) return {};
        return bytes_.subspan(static_cast<std::size_t>(pos), static_cast<std::size_t>(length));
    }

  private:
    std::uint8_t At(std::int64_t pos) const { return bytes_[static_cast<std::size_t>(pos)]; }

    std::span<const std::uint8_t> bytes_;
};

// Reads a format front to back. A read past the end gives "missing" and
// marks the cursor as failed, so a caller checks once, at the end.
class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : reader_(bytes) {}

    bool Failed() const { return failed_; }
    std::int64_t Position() const { return pos_; }
    std::int64_t Remaining() const { return reader_.Size() - pos_; }

    std::uint8_t U8() { return Take(1) ? reader_.U8(pos_ - 1) : 0; }
    std::uint16_t U16() { return Take(2) ? reader_.U16(pos_ - 2) : 0; }
    std::uint32_t U32() { return Take(4) ? reader_.U32(pos_ - 4) : 0; }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::uint64_t U64() { return Take(8) ? reader_.U64(pos_ - 8) : 0; }
    std::span<const std::uint8_t> Bytes(std::int64_t length) {
        return Take(length) ? reader_.Bytes(pos_ - length, length)
                            : std::span<const std::uint8_t>{};
    }
    void Skip(std::int64_t length) { (void)Take(length); }

  private:
    bool Take(std::int64_t length) {
        if (failed_ || !reader_.Has(pos_, length)) {
            failed_ = true;
            return false;
        }
        pos_ += length;
        return true;
    }

    Reader reader_;
    std::int64_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace bytes
