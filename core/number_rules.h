#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro {

// The number rules of the DXF writer. They are this system's own and are never taken from the
// C library or the locale, which differ between platforms and from these rules.

// atof's grammar: leading white space (space, \t, \n, \v, \f, \r) skipped; an optional sign;
// digits with at most one '.'; an optional exponent introduced by e, E, d or D with an optional
// sign and digits. Conversion stops at the first byte that cannot continue the number; text
// with no digits gives 0. No hexadecimal, infinity or NaN forms. A magnitude too large becomes
// infinity and one too small becomes zero, both keeping the sign.
[[nodiscard]] double parseNumber(std::string_view text);

// Whether parseNumber finds any digit in text: false for empty text, letters, a lone sign or
// point. A coordinate without one is written as 0 by the DXF writer and as text by the others.
[[nodiscard]] bool holdsNumber(std::string_view text);

// The most bytes printFixed6 writes: a sign, 309 integer digits, the point and six decimals.
inline constexpr std::size_t kMaxFixed6Length = 320;

// "%f" as this system prints it: the magnitude rounded to 17 significant digits half up, that
// digit string rounded at the sixth decimal half up, digits past the 17th significant one
// printed as 0; "-" whenever the sign is negative (so -0.000000), and 1.#INF00 / -1.#INF00 for
// infinities. Writes at most kMaxFixed6Length bytes at out and returns the end of what it wrote.
char *printFixed6(char *out, double value);

// The same rules with 0 to 6 decimals ("%.3f" for 3; no point for 0); any other count prints
// six. Writes at most kMaxFixed6Length bytes.
char *printFixed(char *out, double value, int decimals);

[[nodiscard]] std::string formatFixed6(double value);

// What printFixed6(out, plainDecimalValue(magnitude, negative)) writes for a magnitude below 10^15
// millionths, when kSingleRoundingDoubles, printed straight from the millionths (the argument is
// beside its definition). Writes at most 28 bytes, scratch included.
char *printMillionthsFixed6(char *out, std::uint64_t magnitude, bool negative);

// What printFixed6(out, parseNumber(text)) writes, taken from the digits of text itself when it
// is a plain decimal (see PlainDecimal).
char *printNumberFixed6(char *out, std::string_view text);

// The usual coordinate field, the whole of it: an optional sign, at most nine integer digits, an
// optional point and at most six decimals, at least one digit in all. Its parseNumber value is
// the value of its digits, rounded once, and printFixed6 prints exactly those digits.
struct PlainDecimal {
    std::string_view integer;  // without the sign; may hold leading zeros or be empty
    std::string_view decimals; // without the point; may be empty
    bool negative = false;

    // The value in millionths, exact; with its sign, and without.
    [[nodiscard]] std::int64_t millionths() const;
    [[nodiscard]] std::uint64_t magnitude() const;
};

// Whether every double operation rounds once, as the fast paths below require: without
// intermediate results in extended precision, one division by 10^6 rounds a plain decimal once.
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
inline constexpr bool kSingleRoundingDoubles = true;
#else
inline constexpr bool kSingleRoundingDoubles = false;
#endif

// parseNumber of a plain decimal with this magnitude in millionths and this sign, when
// kSingleRoundingDoubles: the millionths and 10^6 are exact doubles, so the one division rounds
// the exact value once, to the nearest double; a '-' gives -0 for a zero magnitude.
[[nodiscard]] inline double plainDecimalValue(std::uint64_t magnitude, bool negative) {
    const double value = static_cast<double>(magnitude) / 1e6;
    return negative ? -value : value;
}

// Whether text is a plain decimal; fills plain when it is.
[[nodiscard]] bool scanPlainDecimal(std::string_view text, PlainDecimal &plain);

// The same, with the magnitude (PlainDecimal::magnitude) read in the same pass over the digits.
[[nodiscard]] bool scanPlainDecimal(std::string_view text, PlainDecimal &plain,
                                    std::uint64_t &magnitude);

// printFixed6 of a plain decimal: the integer digits without leading zeros ("0" for none), the
// point and the decimals padded with zeros to six. Writes at most 17 bytes.
char *printPlainFixed6(char *out, const PlainDecimal &plain);

} // namespace velkaro
