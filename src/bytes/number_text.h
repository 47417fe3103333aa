// Numbers written as text, read one way everywhere: the value of a digit,
// and a number as the window's input dialog reads an answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bytes {

// The value of a digit of base 2, 10 or 16 (0-9, A-F, a-f); 99 for any
// other character, which no base takes.
constexpr int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

struct NumberText {
    std::uint64_t magnitude = 0;  // modulo 2^64, as a 64-bit sum wraps
    bool negative = false;
    bool digits = false;     // at least one digit was read
    bool exact = true;       // the magnitude did not wrap
    std::size_t length = 0;  // characters read
};

// Blanks and tabs skipped, an optional sign, then decimal digits, "$" and
// hexadecimal digits, or "%" and binary digits, up to the first other
// character.
constexpr NumberText ReadNumber(std::string_view text) {
    NumberText number;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number.negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == '%')) base = text[i++] == '$' ? 16 : 2;
    for (; i < text.size() && static_cast<unsigned>(DigitValue(text[i])) < base; ++i) {
        const auto digit = static_cast<std::uint64_t>(DigitValue(text[i]));
        if (number.magnitude > (UINT64_MAX - digit) / base) number.exact = false;
        number.magnitude = number.magnitude * base + digit;
        number.digits = true;
    }
    number.length = i;
    return number;
}

}  // namespace bytes
