#pragma once

#include "word_loads.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velkaro {

// A plain decimal (see PlainDecimal in number_rules.h) as readPlainWords found it: its bytes in
// two words, checked but not yet added up, so that a caller that only compares it can stop early.
struct PlainDecimalWords {
    // The last eight bytes after the sign, the last the most significant, '0' bytes in front of
    // the first when there are fewer.
    std::uint64_t low = 0;
    // The first eight bytes after the sign, the first the least significant, zero bytes past the
    // end when there are fewer.
    std::uint64_t front = 0;
    const char *digits = nullptr; // the first byte after the sign
    std::uint32_t size = 0;       // bytes after the sign, 1 to 16
    std::uint32_t pointAt = 0;    // the byte of low that holds the point; 0 when there is none
    std::uint32_t integerDigits = 0;
    bool negative = false; // a leading '-'
    bool signed_ = false;  // a leading '-' or '+'

    // PlainDecimal::magnitude: the value without its sign, in millionths.
    [[nodiscard]] std::uint64_t magnitude() const;
    // The first eight bytes after the sign, the first the most significant, zero bytes past the
    // end. Of two unsigned plain decimals with as many integer digits, the one with the smaller
    // leading bytes is never the greater (the argument is beside its definition).
    [[nodiscard]] std::uint64_t leadingBytes() const;
};

// Whether text is a plain decimal, read eight bytes at a time instead of one: accepts exactly
// the texts scanPlainDecimal accepts. False on a machine whose words are not little-endian,
// where the caller takes the general way. Defined here, with its helpers, because the summary
// calls it for every coordinate and a call would cost a sizeable part of it.
[[nodiscard]] inline bool readPlainWords(std::string_view text, PlainDecimalWords &words);

// readPlainWords and the magnitude in one: the same magnitude scanPlainDecimal gives, with
// negative set for a leading '-'.
[[nodiscard]] bool readPlainMillionths(std::string_view text, std::uint64_t &magnitude,
                                       bool &negative);

namespace plain_words {

inline constexpr std::uint64_t kZeros = 0x3030303030303030; // eight '0' bytes

using velkaro::load4;
using velkaro::load8;

// The size bytes (1 to 8) from bytes on, at the top of a word, its last byte the word's most
// significant; '0' bytes below them. Reads no byte outside them: four-byte reads overlap instead,
// and the overlapping bytes are the same bytes, so or-ing them changes nothing.
[[nodiscard]] inline std::uint64_t rightAligned(const char *bytes, std::size_t size) {
    if (size == 8) {
        return load8(bytes);
    }
    if (size >= 4) {
        return (load4(bytes + size - 4) << 32) | (load4(bytes) << (8 * (8 - size))) |
               (kZeros >> (8 * size));
    }
    std::uint64_t word = kZeros;
    for (std::size_t i = 0; i < size; ++i) {
        word = (word >> 8) | (std::uint64_t{static_cast<unsigned char>(bytes[i])} << 56);
    }
    return word;
}

// The high bit of every byte of word that is not an ASCII digit. Masking to seven bits keeps
// the addition from carrying into the next byte; bytes from 0x80 up are caught by the or.
[[nodiscard]] inline std::uint64_t nonDigits(std::uint64_t word) {
    const std::uint64_t x = word ^ kZeros; // a digit becomes 0 to 9, every other byte more
    return (((x & 0x7F7F7F7F7F7F7F7F) + 0x7676767676767676) | x) & 0x8080808080808080;
}

// The bytes of a word in the opposite order.
[[nodiscard]] inline std::uint64_t reversedBytes(std::uint64_t word) {
#if defined(__GNUC__)
    return __builtin_bswap64(word);
#else
    word = ((word & 0x00FF00FF00FF00FF) << 8) | ((word >> 8) & 0x00FF00FF00FF00FF);
    word = ((word & 0x0000FFFF0000FFFF) << 16) | ((word >> 16) & 0x0000FFFF0000FFFF);
    return (word << 32) | (word >> 32);
#endif
}

} // namespace plain_words

// Why this accepts what scanPlainDecimal accepts and nothing else: after an optional sign, the
// m = 1 to 16 bytes left (a plain decimal has at most 9 + 1 + 6) are read as the last eight,
// right-aligned in low behind '0' bytes, and, beyond eight, the first eight, of which those before
// the last eight may hold only digits. Then low may hold at most one other byte, a '.', not in its
// first byte (that would leave seven decimals): the text is digits with at most one point, at
// most six decimals, and with the integer digits counted as m - 1 - decimals (m without a point)
// at most nine and at least one digit in all. Those are the rules of scanPlainDecimal.
inline bool readPlainWords(std::string_view text, PlainDecimalWords &words) {
    using namespace plain_words;
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    }
    const char *bytes = text.data();
    std::size_t size = text.size();
    words.negative = size != 0 && bytes[0] == '-';
    words.signed_ = size != 0 && (bytes[0] == '-' || bytes[0] == '+');
    const std::size_t sign = words.signed_ ? 1 : 0;
    bytes += sign;
    size -= sign;
    if (size - 1 > 15) { // none, or more than 16
        return false;
    }
    if (size > 8) {
        words.front = load8(bytes);
        words.low = load8(bytes + size - 8);
        if ((nonDigits(words.front) << (8 * (16 - size))) != 0) { // those before the last eight
            return false;
        }
    } else {
        words.low = rightAligned(bytes, size);
        words.front = words.low >> (8 * (8 - size));
    }
    const std::uint64_t point = nonDigits(words.low);
    if ((point & (point - 1)) != 0) {
        return false;
    }
    std::size_t decimals = 0;
    words.pointAt = 0;
    if (point != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(point)) / 8;
        if (at == 0 || ((words.low >> (8 * at)) & 0xFF) != '.' || size == 1) {
            return false;
        }
        words.pointAt = at;
        decimals = 7 - at;
    }
    const std::size_t integerDigits = size - decimals - (point != 0 ? 1 : 0);
    words.digits = bytes;
    words.size = static_cast<std::uint32_t>(size);
    words.integerDigits = static_cast<std::uint32_t>(integerDigits);
    return integerDigits <= 9;
}

// Why the order of the leading bytes is never against the order of the values, for unsigned
// plain decimals a and b with n integer digits each, when a's leading bytes are the smaller: at
// the first byte i where they differ, a's is the smaller. Below n both bytes are digits, so a's
// integer part is the smaller, by at least one, and a < b. At n each holds its point or, past its
// end, zero; a's is the zero: a is b's integer part alone, a <= b. Beyond n both texts have their
// point at n, and a's decimals, padded with zeros, come first in the order of digit strings, which
// for decimals of equal places is the order of their values: a <= b. Rounding to a double keeps
// a <= b.
inline std::uint64_t PlainDecimalWords::leadingBytes() const {
    using namespace plain_words;
    return reversedBytes(front);
}

} // namespace velkaro
