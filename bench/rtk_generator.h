#pragma once

#include <cstdint>
#include <string>

namespace velkaro::bench {

// What kind of numbers the generated points carry.
enum class NumberMix {
    Realistic, // four decimals around a real site, as controllers export them
    Unusual,   // exponents, ties at the sixth decimal, 17-digit values, signed zeros, overflow
};

// Writes an RTK export of `points` lines to path: CR LF line ends, an index and a solution
// field before the name, codes from a small set with a quarter "NULL", point names partly in
// GBK. The same seed gives the same bytes on every platform (no library randomness or
// formatting is involved). Returns false when the file could not be written completely.
[[nodiscard]] bool generateRtkExport(const std::string &path, std::uint64_t points,
                                     std::uint64_t seed, NumberMix mix);

} // namespace velkaro::bench
