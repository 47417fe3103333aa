// Every read of bytes from outside (a track, the font cache, a worker's
// messages) goes through a ByteReader: it knows how many bytes there are,
// and a read that would reach outside them answers "missing" (numbers 0,
// texts empty) instead of touching other memory. Numbers are little-endian.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class ByteReader {
  public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    explicit ByteReader(std::string_view bytes)
        : bytes_(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) {}

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
    std::uint64_t U64(std::int64_t pos) const {
        if (!Has(pos, 8)) return 0;
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | bytes_[pos + i];
        return v;
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
    std::string_view View(std::int64_t pos, std::int64_t length) const {
        const std::span<const std::uint8_t> bytes = Bytes(pos, length);
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// The tool's own binary records (the font cache, a worker's results): 64-bit
// numbers and texts that carry their size, read one after another. A read
// that does not fit fails, and every later one fails too.
class ByteCursor {
  public:
    explicit ByteCursor(std::string_view bytes) : reader_(bytes) {}

    bool Number(std::uint64_t& value) {
        if (!reader_.Has(at_, 8)) return Stop();
        value = reader_.U64(at_);
        at_ += 8;
        return true;
    }
    // A signed number in [low, high].
    bool Small(int& value, int low, int high) {
        std::uint64_t v = 0;
        if (!Number(v)) return false;
        const auto s = static_cast<std::int64_t>(v);
        if (s < low || s > high) return Stop();
        value = static_cast<int>(s);
        return true;
    }
    // The text stays in the cursor's bytes.
    bool Text(std::string_view& text) {
        std::uint64_t size = 0;
        if (!Number(size)) return false;
        if (size > static_cast<std::uint64_t>(reader_.Size() - at_)) return Stop();
        text = reader_.View(at_, static_cast<std::int64_t>(size));
        at_ += static_cast<std::int64_t>(size);
        return true;
    }
    bool Text(std::string& text) {
        std::string_view view;
        if (!Text(view)) return false;
        text = view;
        return true;
    }
    bool AtEnd() const { return at_ == reader_.Size(); }

  private:
    bool Stop() {
        at_ = reader_.Size() + 1;  // nothing fits any more, and not AtEnd
        return false;
    }

    ByteReader reader_;
    std::int64_t at_ = 0;
};

// The writing side of ByteCursor.
inline void PutNumber(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
inline void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size());
    out += text;
}

}  // namespace platform
