#include "plain_decimal_words.h"

#include <bit>
#include <cstring>

namespace velkaro {
namespace {

constexpr std::uint64_t kZeros = 0x3030303030303030; // eight '0' bytes
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// 10^(6 - decimals): what scales the digits of a text with that many decimals to millionths.
constexpr std::uint64_t kScaleOfDecimals[] = {1000000, 100000, 10000, 1000, 100, 10, 1};

[[nodiscard]] std::uint64_t load8(const char *bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

[[nodiscard]] std::uint64_t load4(const char *bytes) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The size bytes (1 to 8) from bytes on, at the top of a word, its last byte the word's most
// significant; '0' bytes below them. Reads no byte outside them: four-byte reads overlap instead,
// and the overlapping bytes are the same bytes, so or-ing them changes nothing.
[[nodiscard]] std::uint64_t rightAligned(const char *bytes, std::size_t size) {
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
[[nodiscard]] std::uint64_t nonDigits(std::uint64_t word) {
    const std::uint64_t x = word ^ kZeros; // a digit becomes 0 to 9, every other byte more
    return (((x & kLow7) + 0x7676767676767676) | x) & kHighBits;
}

// The value of eight ASCII digits, the first in the lowest byte: neighbouring digits, then pairs,
// then quadruples are joined, each step one multiplication for every lane at once.
[[nodiscard]] std::uint64_t digitsValue(std::uint64_t word) {
    word -= kZeros;
    word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FF;
    word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFF;
    return (word * 10000 + (word >> 32)) & 0xFFFFFFFF;
}

// The 16 bytes high:low with the point that low holds at byte `at` taken out: the bytes before it
// move up by one and a '0' comes in at the front, which leaves the value of the digits as it was.
void removePoint(std::uint64_t &high, std::uint64_t &low, int at) {
    const std::uint64_t below = low & ((std::uint64_t{1} << (8 * at)) - 1);
    const std::uint64_t above = low & ((~std::uint64_t{0} << (8 * at)) << 8);
    low = above | (below << 8) | (high >> 56);
    high = (high << 8) | '0';
}

} // namespace

// Why this accepts what scanPlainDecimal accepts and nothing else: after an optional sign, the
// m = 1 to 16 bytes left (a plain decimal has at most 9 + 1 + 6) are placed right-aligned in 16
// bytes padded in front with '0'. Then high may hold only digits and low at most one other byte,
// a '.', not in low's first byte (that would leave seven decimals): the text is digits with at
// most one point, at most six decimals, and with the integer digits counted as m - 1 - decimals
// (m without a point) at most nine and at least one digit in all. Those are the rules of
// scanPlainDecimal. The padding digits are leading zeros; with the point taken out the 16 digits
// are the integer digits followed by the decimals, the value I * 10^d + D, and scaling by
// 10^(6 - d) gives I * 10^6 + D * 10^(6 - d), PlainDecimal::magnitude. It stays below 10^15.
bool readPlainMillionths(std::string_view text, std::uint64_t &magnitude, bool &negative) {
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    }
    const char *bytes = text.data();
    std::size_t size = text.size();
    negative = size != 0 && bytes[0] == '-';
    const std::size_t sign = size != 0 && (bytes[0] == '-' || bytes[0] == '+') ? 1 : 0;
    bytes += sign;
    size -= sign;
    if (size == 0 || size > 16) {
        return false;
    }
    std::uint64_t low = size > 8 ? load8(bytes + size - 8) : rightAligned(bytes, size);
    std::uint64_t high = size > 8 ? rightAligned(bytes, size - 8) : kZeros;
    const std::uint64_t point = nonDigits(low);
    int decimals = 0;
    if (nonDigits(high) != 0 || (point & (point - 1)) != 0) {
        return false;
    }
    if (point != 0) {
        const int at = std::countr_zero(point) / 8;
        if (at == 0 || ((low >> (8 * at)) & 0xFF) != '.' || size == 1) {
            return false;
        }
        decimals = 7 - at;
        removePoint(high, low, at);
    }
    if (size - static_cast<std::size_t>(decimals) - (point != 0 ? 1 : 0) > 9) {
        return false;
    }
    magnitude = (digitsValue(high) * 100000000 + digitsValue(low)) * kScaleOfDecimals[decimals];
    return true;
}

} // namespace velkaro
