#include "printed_decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velkaro {
namespace {

constexpr std::ptrdiff_t kDecimals = 6;
constexpr std::size_t kMaxIntegerDigits = 12;

} // namespace

bool parseMillionths(std::string_view printed, std::int64_t &millionths) {
    const std::size_t size = printed.size();
    const std::size_t point = size - static_cast<std::size_t>(kDecimals) - 1;
    if (size < 8 || printed[point] != '.') {
        return false;
    }
    const std::size_t first = printed[0] == '-' ? 1 : 0;
    if (point == first || point - first > kMaxIntegerDigits) {
        return false;
    }
    std::uint64_t value = 0;
    for (std::size_t i = first; i < size; ++i) {
        const auto digit = static_cast<unsigned char>(printed[i] - '0');
        if (digit > 9) {
            if (i != point) {
                return false;
            }
            continue;
        }
        value = value * 10 + digit;
    }
    const auto magnitude = static_cast<std::int64_t>(value);
    millionths = first == 1 ? -magnitude : magnitude;
    return true;
}

namespace {

// Two digits at a time from a table, written backwards into a local buffer and then copied:
// integer parts of more than eight digits, and machines that keep the high byte first.
char *printMillionthsByPairs(char *out, std::uint64_t magnitude) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "62636465666768697071727374757677787980818283848586878889909192"
        "93949596979899";
    char text[32];
    char *first = text + sizeof text;
    for (int pair = 0; pair < 3; ++pair, magnitude /= 100) {
        first -= 2;
        std::memcpy(first, kPairs + 2 * (magnitude % 100), 2);
    }
    *--first = '.';
    for (; magnitude >= 10; magnitude /= 100) {
        first -= 2;
        std::memcpy(first, kPairs + 2 * (magnitude % 100), 2);
    }
    if (magnitude > 0 || *first == '.') {
        *--first = static_cast<char>('0' + magnitude);
    }
    const auto size = static_cast<std::size_t>(text + sizeof text - first);
    std::memcpy(out, first, size);
    return out + size;
}

#if defined(__SSE2__)
// eightDigits of integer and of fraction side by side, as ASCII: the integer's digits in bytes 0
// to 7, the fraction's in 8 to 15. The same three splits, in the lanes of one register: by 10^4
// in 64-bit lanes, then by 100 and by 10 in 16-bit lanes, each by a reciprocal exact in its range
// (x / 10^4 = x * 0xD1B71759 >> 45 below 10^8; x / 100 = (x * 5243 >> 16) >> 3 below 10^4;
// x / 10 = x * 6554 >> 16 below 100).
[[nodiscard]] __m128i sixteenDigits(std::uint32_t integer, std::uint32_t fraction) {
    const __m128i v = _mm_set_epi64x(fraction, integer);
    const __m128i fours =
        _mm_srli_epi64(_mm_mul_epu32(v, _mm_set1_epi32(static_cast<int>(0xD1B71759))), 45);
    const __m128i lowFours = _mm_sub_epi64(v, _mm_mul_epu32(fours, _mm_set1_epi32(10000)));
    const __m128i quads = _mm_or_si128(fours, _mm_slli_epi64(lowFours, 32));
    const __m128i twos = _mm_srli_epi16(_mm_mulhi_epu16(quads, _mm_set1_epi32(5243)), 3);
    const __m128i lowTwos = _mm_sub_epi16(quads, _mm_mullo_epi16(twos, _mm_set1_epi32(100)));
    const __m128i pairs = _mm_or_si128(twos, _mm_slli_epi32(lowTwos, 16));
    const __m128i tens = _mm_mulhi_epu16(pairs, _mm_set1_epi16(6554));
    const __m128i ones = _mm_sub_epi16(pairs, _mm_mullo_epi16(tens, _mm_set1_epi16(10)));
    return _mm_add_epi8(_mm_or_si128(tens, _mm_slli_epi16(ones, 8)), _mm_set1_epi8('0'));
}

// The integer part and the six decimals (times 100, as eight digits) in one register; the
// integer part's leading zeros are left out (keeping one digit).
char *printSmallMillionths(char *out, std::uint32_t integer, std::uint32_t fraction) {
    const __m128i digits = sixteenDigits(integer, fraction * 100);
    const auto zerosAt =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(digits, _mm_set1_epi8('0'))));
    const int zeros = std::min(std::countr_one(zerosAt), 7);
    char text[16];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(text), digits);
    std::memcpy(out, text + zeros, 8);
    out += 8 - zeros;
    *out++ = '.';
    std::memcpy(out, text + 8, 8);
    return out + 6;
}
#else
// n < 10^8 as its eight decimal digits (leading zeros included), one per byte, the first digit in
// the lowest byte: the halves of four digits, their pairs and their single digits split in all
// lanes at once by multiplying with reciprocals that are exact in these ranges.
[[nodiscard]] std::uint64_t eightDigits(std::uint32_t n) {
    std::uint64_t v = (n / 10000) | (static_cast<std::uint64_t>(n % 10000) << 32);
    std::uint64_t high = ((v * 10486) >> 20) & 0x0000007F0000007FULL; // x / 100 for x < 10^4
    v = high | ((v - high * 100) << 16);
    high = ((v * 103) >> 10) & 0x000F000F000F000FULL; // x / 10 for x < 100
    return high | ((v - high * 10) << 8);
}

// Writes the eight bytes of digits shifted by `skip` leading ones (the bytes after the kept ones
// are scratch) and returns the end of the kept ones.
char *putDigits(char *out, std::uint64_t digits, int skip) {
    const std::uint64_t text = (digits + 0x3030303030303030ULL) >> (8 * skip);
    std::memcpy(out, &text, 8);
    return out + 8 - skip;
}

// The integer part and the six decimals each as one block of eight digits; the integer part's
// leading zeros are shifted out (keeping one digit).
char *printSmallMillionths(char *out, std::uint32_t integer, std::uint32_t fraction) {
    if constexpr (std::endian::native != std::endian::little) {
        return printMillionthsByPairs(out, std::uint64_t{integer} * 1000000 + fraction);
    }
    const std::uint64_t digits = eightDigits(integer);
    const int zeros = digits == 0 ? 7 : std::countr_zero(digits) / 8;
    out = putDigits(out, digits, zeros);
    *out++ = '.';
    putDigits(out, eightDigits(fraction), 2);
    return out + 6;
}
#endif

} // namespace

char *printMillionths(char *out, std::int64_t millionths) {
    if (millionths < 0) {
        *out++ = '-';
    }
    const auto magnitude = millionths < 0 ? 0 - static_cast<std::uint64_t>(millionths)
                                          : static_cast<std::uint64_t>(millionths);
    const std::uint64_t integer = magnitude / 1000000;
    if (integer >= 100000000) {
        return printMillionthsByPairs(out, magnitude);
    }
    return printSmallMillionths(out, static_cast<std::uint32_t>(integer),
                                static_cast<std::uint32_t>(magnitude - integer * 1000000));
}

bool roundMillionths(std::int64_t millionths, bool negative, int decimals, char *out, char *&end) {
    if (decimals < 0 || decimals >= kDecimals) {
        return false;
    }
    const std::uint64_t magnitude = millionths < 0 ? 0 - static_cast<std::uint64_t>(millionths)
                                                   : static_cast<std::uint64_t>(millionths);
    static constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const std::uint64_t step = kPowers[kDecimals - decimals];
    if (magnitude % step == step / 2) {
        return false;
    }
    const std::uint64_t kept = (magnitude + step / 2) / step; // half up on the magnitude
    // Printed as millionths, the decimals not kept cut off again (with the point for none).
    if (negative) {
        *out++ = '-';
    }
    const auto cut = static_cast<std::ptrdiff_t>(kDecimals - decimals + (decimals == 0 ? 1 : 0));
    end = printMillionths(out, static_cast<std::int64_t>(kept * step)) - cut;
    return true;
}

bool roundPrinted(std::string_view printed, int decimals, char *out, char *&end) {
    std::int64_t millionths = 0;
    // "-0.000000" keeps its sign, as printed
    return parseMillionths(printed, millionths) &&
           roundMillionths(millionths, printed.front() == '-', decimals, out, end);
}

} // namespace velkaro
