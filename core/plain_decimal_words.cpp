#include "plain_decimal_words.h"

namespace velkaro {
namespace {

using plain_words::kZeros;

// 10^(6 - decimals): what scales the digits of a text with that many decimals to millionths.
constexpr std::uint64_t kScaleOfDecimals[] = {1000000, 100000, 10000, 1000, 100, 10, 1};

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

// With the first bytes of more than eight right-aligned in front of low (front holds them as
// its lowest bytes: shifted to the top, with '0' bytes coming in below), and the point taken out,
// the 16 digits are the integer digits followed by the decimals (the
// padding digits are leading zeros), the value I * 10^d + D; scaling by 10^(6 - d) gives
// I * 10^6 + D * 10^(6 - d), PlainDecimal::magnitude. It stays below 10^15.
std::uint64_t PlainDecimalWords::magnitude() const {
    std::uint64_t h = kZeros;
    if (size > 8) { // the bytes before the last eight, taken from the first eight
        h = size == 16 ? front : (front << (8 * (16 - size))) | (kZeros >> (8 * (size - 8)));
    }
    std::uint64_t l = low;
    const std::uint32_t decimals = pointAt == 0 ? 0 : 7 - pointAt;
    if (pointAt != 0) {
        removePoint(h, l, static_cast<int>(pointAt));
    }
    return (digitsValue(h) * 100000000 + digitsValue(l)) * kScaleOfDecimals[decimals];
}

bool readPlainMillionths(std::string_view text, std::uint64_t &magnitude, bool &negative) {
    PlainDecimalWords words;
    if (!readPlainWords(text, words)) {
        return false;
    }
    magnitude = words.magnitude();
    negative = words.negative;
    return true;
}

} // namespace velkaro
