#include "printed_decimal.h"

#include <algorithm>
#include <charconv>
#include <cstring>

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

// Two digits at a time from a table, written backwards into a local buffer and then copied:
// the labels print three numbers per point this way.
char *printMillionths(char *out, std::int64_t millionths) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "62636465666768697071727374757677787980818283848586878889909192"
        "93949596979899";
    if (millionths < 0) {
        *out++ = '-';
    }
    auto magnitude = millionths < 0 ? 0 - static_cast<std::uint64_t>(millionths)
                                    : static_cast<std::uint64_t>(millionths);
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

bool roundPrinted(std::string_view printed, int decimals, char *out, char *&end) {
    std::int64_t millionths = 0;
    if (!parseMillionths(printed, millionths) || decimals < 0 || decimals >= kDecimals) {
        return false;
    }
    const bool negative = printed.front() == '-'; // "-0.000000" keeps its sign, as printed
    std::int64_t unit = 1;
    for (int i = decimals; i < kDecimals; ++i) {
        unit *= 10;
    }
    const std::uint64_t magnitude = static_cast<std::uint64_t>(negative ? -millionths : millionths);
    const std::uint64_t step = static_cast<std::uint64_t>(unit);
    if (magnitude % step == step / 2) {
        return false;
    }
    const std::uint64_t kept = (magnitude + step / 2) / step; // half up on the magnitude
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    if (negative) {
        *out++ = '-';
    }
    out = std::to_chars(out, out + 20, kept / scale).ptr;
    if (decimals > 0) {
        *out++ = '.';
        std::uint64_t fraction = kept % scale;
        for (int i = decimals; i-- > 0; fraction /= 10) {
            out[i] = static_cast<char>('0' + fraction % 10);
        }
    }
    end = out + decimals;
    return true;
}

} // namespace velkaro
