#include "number_rules.h"

#include "byte_copy.h"
#include "printed_decimal.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace velkaro {
namespace {

[[nodiscard]] bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

[[nodiscard]] bool isAtofSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The longest unsigned prefix that atof's grammar accepts, where its exponent letter stands (so
// a d/D exponent can be rewritten for from_chars), and the power of ten of the leading nonzero
// digit, which tells an overflow from an underflow when from_chars reports the range exceeded.
struct NumberSyntax {
    std::size_t length = 0; // 0: no digits
    std::size_t exponentAt = std::string_view::npos;
    long leadPower = 0;
    // The significant digits as an integer and the power of ten that scales it, while they fit:
    // value = mantissa * 10^scale exactly when mantissaExact.
    std::uint64_t mantissa = 0;
    long scale = 0;
    bool mantissaExact = true;
};

[[nodiscard]] long saturatingExponent(std::string_view digits) {
    long value = 0;
    for (char c : digits) {
        value = value < 1000000 ? value * 10 + (c - '0') : value;
    }
    return value;
}

[[nodiscard]] std::size_t scanExponent(std::string_view text, std::size_t at,
                                       NumberSyntax &syntax) {
    if (at >= text.size() ||
        (text[at] != 'e' && text[at] != 'E' && text[at] != 'd' && text[at] != 'D')) {
        return at;
    }
    std::size_t i = at + 1;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t first = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    if (i == first) {
        return at; // "1e", "1e+": the exponent is not part of the number
    }
    const long exponent = saturatingExponent(text.substr(first, i - first));
    syntax.exponentAt = at;
    syntax.leadPower += negative ? -exponent : exponent;
    syntax.scale += negative ? -exponent : exponent;
    return i;
}

// Up to 19 significant digits fit a 64-bit integer; past that the fast path is not taken.
void accumulateDigit(NumberSyntax &syntax, char c, bool afterPoint) {
    if (syntax.mantissa >= 100000000000000000ULL) {
        syntax.mantissaExact = false;
        return;
    }
    syntax.mantissa = syntax.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    syntax.scale -= afterPoint ? 1 : 0;
}

// mantissa * 10^scale with a single rounding when both factors are exact doubles (Clinger's
// fast path): the correctly rounded value, as from_chars would give it, in a few instructions.
[[nodiscard]] bool convertExactly(const NumberSyntax &syntax, double &value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
    return false; // intermediate results in extended precision would round twice
#endif
    if (!syntax.mantissaExact || syntax.mantissa > (std::uint64_t{1} << 53) || syntax.scale < -22 ||
        syntax.scale > 22) {
        return false;
    }
    const auto mantissa = static_cast<double>(syntax.mantissa);
    value = syntax.scale < 0 ? mantissa / kPowers[-syntax.scale] : mantissa * kPowers[syntax.scale];
    return true;
}

[[nodiscard]] NumberSyntax scanNumber(std::string_view text) {
    NumberSyntax syntax;
    std::size_t i = 0;
    std::size_t digits = 0;
    long integerSignificant = 0; // integer digits from the first nonzero one
    long fractionZeros = 0;      // zeros after the point before the first nonzero digit
    bool point = false;
    bool nonZero = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!isDigit(c)) {
            break;
        }
        ++digits;
        nonZero = nonZero || c != '0';
        accumulateDigit(syntax, c, point);
        if (!point && nonZero) {
            ++integerSignificant;
        } else if (point && !nonZero) {
            ++fractionZeros;
        }
    }
    if (digits == 0) {
        return syntax;
    }
    syntax.leadPower = integerSignificant > 0 ? integerSignificant - 1 : -fractionZeros - 1;
    syntax.length = scanExponent(text, i, syntax);
    return syntax;
}

// Converts the prefix that scanNumber accepted (it has digits).
[[nodiscard]] double convertUnsigned(std::string_view text, const NumberSyntax &syntax) {
    double exact = 0.0;
    if (convertExactly(syntax, exact)) {
        return exact;
    }
    char local[kMaxFixed6Length];
    std::string heap;
    const char *begin = text.data();
    if (syntax.exponentAt != std::string_view::npos && (text[syntax.exponentAt] | 0x20) == 'd') {
        char *copy = local;
        if (syntax.length > sizeof local) {
            heap.assign(text.substr(0, syntax.length));
            copy = heap.data();
        } else {
            std::memcpy(local, text.data(), syntax.length);
        }
        copy[syntax.exponentAt] = 'e';
        begin = copy;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(begin, begin + syntax.length, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        return syntax.leadPower > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

// The form nearly every coordinate has: digits, maybe a point and more digits, and no exponent.
// Converted exactly when the digits fit; false sends the text down the general way.
[[nodiscard]] bool parsePlainDecimal(std::string_view text, double &value) {
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    std::size_t i = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits, ++decimals) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        }
    }
    const bool exponentFollows =
        i < text.size() && ((text[i] | 0x20) == 'e' || (text[i] | 0x20) == 'd');
    if (digits == 0 || digits > 19 || exponentFollows) {
        return false;
    }
    NumberSyntax syntax;
    syntax.mantissa = mantissa;
    syntax.scale = -decimals;
    return convertExactly(syntax, value);
}

constexpr std::uint64_t kScaleOfDecimals[] = {1000000, 100000, 10000, 1000, 100, 10, 1};

} // namespace

[[nodiscard]] const char *skipDigits(const char *p, const char *end) {
    while (p != end && static_cast<unsigned char>(*p - '0') <= 9) {
        ++p;
    }
    return p;
}

[[nodiscard]] std::uint64_t digitsValue(std::string_view digits, std::uint64_t value) {
    for (const char c : digits) {
        value = value * 10 + static_cast<unsigned char>(c - '0');
    }
    return value;
}

bool scanPlainDecimal(std::string_view text, PlainDecimal &plain) {
    const char *p = text.data();
    const char *const end = p + text.size();
    plain.negative = p != end && *p == '-';
    p += p != end && (*p == '-' || *p == '+') ? 1 : 0;
    const char *const integer = p;
    p = skipDigits(p, end);
    plain.integer = std::string_view(integer, static_cast<std::size_t>(p - integer));
    const char *decimals = p;
    if (p != end && *p == '.') {
        decimals = p + 1;
        p = skipDigits(decimals, end);
    }
    plain.decimals = std::string_view(decimals, static_cast<std::size_t>(p - decimals));
    return p == end && plain.integer.size() <= 9 && plain.decimals.size() <= 6 &&
           plain.integer.size() + plain.decimals.size() > 0;
}

// Digits from p on, accumulated into value (wrapping past 19 of them, which no plain decimal
// has); returns the first byte that is not a digit.
[[nodiscard]] const char *accumulateDigits(const char *p, const char *end, std::uint64_t &value) {
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned char>(*p - '0');
        if (digit > 9) {
            break;
        }
        value = value * 10 + digit;
    }
    return p;
}

bool scanPlainDecimal(std::string_view text, PlainDecimal &plain, std::uint64_t &magnitude) {
    const char *p = text.data();
    const char *const end = p + text.size();
    plain.negative = p != end && *p == '-';
    p += p != end && (*p == '-' || *p == '+') ? 1 : 0;
    const char *const integer = p;
    std::uint64_t value = 0;
    p = accumulateDigits(p, end, value);
    plain.integer = std::string_view(integer, static_cast<std::size_t>(p - integer));
    const char *decimals = p;
    if (p != end && *p == '.') {
        decimals = p + 1;
        p = accumulateDigits(decimals, end, value);
    }
    plain.decimals = std::string_view(decimals, static_cast<std::size_t>(p - decimals));
    const bool isPlain = p == end && plain.integer.size() <= 9 && plain.decimals.size() <= 6 &&
                         plain.integer.size() + plain.decimals.size() > 0;
    magnitude = isPlain ? value * kScaleOfDecimals[plain.decimals.size()] : 0;
    return isPlain;
}

std::uint64_t PlainDecimal::magnitude() const {
    return digitsValue(decimals, digitsValue(integer, 0)) * kScaleOfDecimals[decimals.size()];
}

std::int64_t PlainDecimal::millionths() const {
    const auto value = static_cast<std::int64_t>(magnitude());
    return negative ? -value : value;
}

// The decimal v that the digits give has at most nine integer digits and six decimals: v is a
// multiple of 10^-6 below 10^9 < 2^30, an exact value of at most 15 significant digits, and
// parseNumber returns the double d nearest to it, so |d - v| <= ulp(d) / 2 <= 2^(29-52) / 2 =
// 2^-24 < 6e-8. printFixed6 first rounds d to 17 significant digits: below 10^9 the 17th digit
// is at most at 10^-8, so that moves it by at most 0.5e-8 (up to 10^9 + 1, which d can reach
// only from v near 10^9, by 0.5e-7), and the result r differs from v by less than 1.1e-7. Then it
// rounds r half up at the sixth decimal; v is the multiple of 10^-6 nearest to r, closer than
// half a millionth (5e-7), so no tie is possible and the result is v, whose digits are those of
// the text. The sign is printed whenever the text has a '-', as for -0.
char *printPlainFixed6(char *out, const PlainDecimal &plain) {
    if (plain.negative) {
        *out++ = '-';
    }
    std::string_view integer = plain.integer;
    while (integer.size() > 1 && integer.front() == '0') {
        integer.remove_prefix(1);
    }
    out = integer.empty() ? out + ((*out = '0'), 1) : appendBytes(out, integer);
    *out++ = '.';
    std::memcpy(out, "000000", 6);
    (void)appendBytes(out, plain.decimals); // over the zeros: the decimals are padded to six
    return out + 6;
}

char *printNumberFixed6(char *out, std::string_view text) {
    PlainDecimal plain;
    if (scanPlainDecimal(text, plain)) {
        return printPlainFixed6(out, plain);
    }
    return printFixed6(out, parseNumber(text));
}

double parseNumber(std::string_view text) {
    PlainDecimal usual;
    if (kSingleRoundingDoubles && scanPlainDecimal(text, usual)) {
        return plainDecimalValue(usual.magnitude(), usual.negative);
    }
    std::size_t i = 0;
    while (i < text.size() && isAtofSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    double plain = 0.0;
    if (parsePlainDecimal(rest, plain)) {
        return negative ? -plain : plain;
    }
    const NumberSyntax syntax = scanNumber(rest);
    if (syntax.length == 0) {
        return 0.0; // no digits: a lone sign gives a plain zero
    }
    const double magnitude = convertUnsigned(rest, syntax);
    return negative ? -magnitude : magnitude;
}

bool holdsNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAtofSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i; // ".5" is a number, "." alone is not
    }
    return i < text.size() && isDigit(text[i]);
}

} // namespace velkaro

namespace velkaro {
namespace {

// A positive finite value as significant decimal digits: value = 0.d1 d2 d3 ... x 10^power.
// At most kKeptDigits digits are kept, truncated (never rounded): the digit after the 17th
// decides the half-up rounding on its own.
struct DecimalDigits {
    static constexpr int kKeptDigits = 18;
    char digits[kKeptDigits];
    int count = 0;
    int power = 0;
};

void appendDigit(DecimalDigits &d, char digit) {
    if (d.count < DecimalDigits::kKeptDigits) {
        d.digits[d.count++] = digit;
    }
}

// Exact digits of any positive finite double, from the shortest exact scientific form.
[[nodiscard]] DecimalDigits exactDigitsSlow(double magnitude) {
    // 767 digits after the point hold the exact expansion of every double.
    char text[800];
    const auto result =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 767);
    DecimalDigits d;
    const char *p = text;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (isDigit(*p)) {
            appendDigit(d, *p);
        }
    }
    int exponent = 0;
    std::from_chars(p + (*(p + 1) == '+' ? 2 : 1), result.ptr, exponent);
    d.power = exponent + 1;
    return d;
}

// The exact digits by integer arithmetic, for values m * 2^-shift with shift <= 60 and for
// integers below 2^64: no big numbers needed. False when the value is outside that range.
[[nodiscard]] bool exactDigitsFast(double magnitude, DecimalDigits &d) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0) {
        return false;
    }
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryPower = biased - 1075; // magnitude = mantissa * 2^binaryPower
    if (binaryPower > 11 || binaryPower < -60) {
        return false;
    }
    const int shift = binaryPower < 0 ? -binaryPower : 0;
    const std::uint64_t integer = binaryPower >= 0 ? mantissa << binaryPower : mantissa >> shift;
    const std::uint64_t mask = shift == 0 ? 0 : (std::uint64_t{1} << shift) - 1;
    std::uint64_t fraction = mantissa & mask;
    d = DecimalDigits{};
    if (integer != 0) {
        char text[24];
        const auto end = std::to_chars(text, text + sizeof text, integer).ptr;
        d.power = static_cast<int>(end - text);
        for (const char *p = text; p != end; ++p) {
            appendDigit(d, *p);
        }
    }
    while (fraction != 0 && d.count < DecimalDigits::kKeptDigits) {
        fraction *= 10;
        const char digit = static_cast<char>('0' + (fraction >> shift));
        fraction &= mask;
        if (d.count == 0 && digit == '0') {
            --d.power; // a leading zero of a value below 1 is not significant
        } else {
            appendDigit(d, digit);
        }
    }
    return true;
}

// Rounds to 17 significant digits, half up on the magnitude.
void roundTo17(DecimalDigits &d) {
    if (d.count < DecimalDigits::kKeptDigits) {
        return;
    }
    d.count = 17;
    if (d.digits[17] < '5') {
        return;
    }
    int i = 16;
    for (; i >= 0 && d.digits[i] == '9'; --i) {
        d.digits[i] = '0';
    }
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits[0] = '1';
        d.count = 1;
        ++d.power;
    }
}

// Writes the 17-digit value with the given decimals, rounding half up at the last one.
char *printDigits(char *out, const DecimalDigits &d, int decimals) {
    const int integerDigits = d.power > 0 ? d.power : 1;
    const int total = integerDigits + decimals;
    char fixed[kMaxFixed6Length];
    fixed[0] = '0'; // room for a carry out of the first digit
    for (int k = 0; k < total; ++k) {
        const int i = k - integerDigits + d.power; // index into d.digits of this position
        fixed[k + 1] = i >= 0 && i < d.count ? d.digits[i] : '0';
    }
    const int next = decimals + d.power; // the first decimal not printed
    if (next >= 0 && next < d.count && d.digits[next] >= '5') {
        int k = total;
        for (; fixed[k] == '9'; --k) {
            fixed[k] = '0';
        }
        ++fixed[k];
    }
    const char *first = fixed[0] == '0' ? fixed + 1 : fixed;
    const char *point = fixed + 1 + integerDigits;
    out = std::copy(first, point, out);
    if (decimals == 0) {
        return out;
    }
    *out++ = '.';
    return std::copy(point, point + decimals, out);
}

constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                          10ULL,
                                          100ULL,
                                          1000ULL,
                                          10000ULL,
                                          100000ULL,
                                          1000000ULL,
                                          10000000ULL,
                                          100000000ULL,
                                          1000000000ULL,
                                          10000000000ULL,
                                          100000000000ULL,
                                          1000000000000ULL,
                                          10000000000000ULL,
                                          100000000000000ULL,
                                          1000000000000000ULL,
                                          10000000000000000ULL,
                                          100000000000000000ULL};

// Writes units of 10^-decimals as the integer part and, unless decimals is 0, the point and the
// decimals.
char *printScaled(char *out, std::uint64_t units, int decimals) {
    const std::uint64_t scale = kPowersOfTen[decimals];
    out = std::to_chars(out, out + 24, units / scale).ptr;
    if (decimals == 0) {
        return out;
    }
    *out++ = '.';
    std::uint64_t fraction = units % scale;
    for (int i = decimals - 1; i >= 0; --i, fraction /= 10) {
        out[i] = static_cast<char>('0' + fraction % 10);
    }
    return out + decimals;
}

// Writes millionths as the integer part, the point and six decimals: printScaled for six, with
// the count known to the loop. Below 10^17 (integer parts of up to eleven digits) the printing
// of printed_decimal.h writes the same bytes eight digits at a time.
char *printUnsignedMillionths(char *out, std::uint64_t millionths) {
    if (millionths < 100000000000000000) {
        return printMillionths(out, static_cast<std::int64_t>(millionths));
    }
    out = std::to_chars(out, out + 24, millionths / 1000000).ptr;
    *out++ = '.';
    std::uint64_t decimals = millionths % 1000000;
    for (int i = 5; i >= 0; --i, decimals /= 10) {
        out[i] = static_cast<char>('0' + decimals % 10);
    }
    return out + 6;
}

#ifdef __SIZEOF_INT128__
// The same rules by integer arithmetic for 1 <= magnitude < 10^13, where coordinates live:
// with E integer digits, rounding to 17 significant digits is rounding magnitude * 10^(17-E)
// to an integer, and the last decimal kept then sits 17-E-decimals digits from its end (for six
// decimals at most 11-E). Gives the value in units of that decimal; false outside that range.
[[nodiscard]] bool fixedUnitsFast(double magnitude, int decimals, std::uint64_t &units) {
    if (!(magnitude >= 1.0 && magnitude < 1e13)) {
        return false;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 1075 - static_cast<int>(bits >> 52); // magnitude = mantissa / 2^shift
    const std::uint64_t integerPart = mantissa >> shift;   // shift > 8 below 10^13
    int digits = 1;
    while (digits < 13 && integerPart >= kPowersOfTen[digits]) {
        ++digits;
    }
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(mantissa) * kPowersOfTen[17 - digits];
    const auto rounded17 = static_cast<std::uint64_t>(
        (scaled + (static_cast<unsigned __int128>(1) << (shift - 1))) >> shift); // half up
    const int dropped = 17 - digits - decimals; // digits of rounded17 past the last kept
    if (dropped > 0) {
        const std::uint64_t unit = kPowersOfTen[dropped];
        units = (rounded17 + unit / 2) / unit; // half up at the last decimal kept
    } else {
        units = rounded17 * kPowersOfTen[-dropped];
    }
    return true;
}
#else
[[nodiscard]] bool fixedUnitsFast(double, int, std::uint64_t &) {
    return false;
}
#endif

// Whether magnitude is the double nearest to a whole number of millionths below 10^9, as the
// value of every plain decimal is; gives that number. The guess is checked by the same division
// that plainDecimalValue does, so a wrong guess is only a miss. When it holds, printFixed6 prints
// exactly the millionths' digits: the bound beside printPlainFixed6 is about just such a double.
[[nodiscard]] bool wholeMillionths(double magnitude, std::uint64_t &millionths) {
    if (!kSingleRoundingDoubles || !(magnitude < 1e9)) {
        return false;
    }
    millionths = static_cast<std::uint64_t>(magnitude * 1e6 + 0.5);
    return plainDecimalValue(millionths, false) == magnitude;
}

// The significant digits of a finite magnitude, rounded to 17 half up, by the general way.
// Below 1e-7 nothing survives rounding at the sixth (or an earlier) decimal.
[[nodiscard]] DecimalDigits roundedDigits(double magnitude) {
    DecimalDigits d{};
    if (magnitude < 1e-7) {
        return d;
    }
    if (!exactDigitsFast(magnitude, d)) {
        d = exactDigitsSlow(magnitude);
    }
    roundTo17(d);
    return d;
}

} // namespace

char *printFixed6(char *out, double value) {
    if (std::signbit(value)) {
        *out++ = '-';
    }
    const double magnitude = std::fabs(value);
    if (std::isnan(magnitude)) { // parseNumber never gives one; printed as the old runtime did
        static constexpr char kNan[] = "1.#QNAN0";
        return std::copy(kNan, kNan + sizeof kNan - 1, out);
    }
    if (std::isinf(magnitude)) {
        static constexpr char kInfinity[] = "1.#INF00";
        return std::copy(kInfinity, kInfinity + sizeof kInfinity - 1, out);
    }
    std::uint64_t millionths = 0;
    if (wholeMillionths(magnitude, millionths) || fixedUnitsFast(magnitude, 6, millionths)) {
        return printUnsignedMillionths(out, millionths);
    }
    return printDigits(out, roundedDigits(magnitude), 6);
}

// "%.Nf" for the decimals other than six: the elevation label's, when its printed digits cannot
// decide.
char *printFixed(char *out, double value, int decimals) {
    if (decimals >= 6 || decimals < 0 || std::isnan(value) || std::isinf(value)) {
        return printFixed6(out, value);
    }
    if (std::signbit(value)) {
        *out++ = '-';
    }
    std::uint64_t units = 0;
    if (fixedUnitsFast(std::fabs(value), decimals, units)) {
        return printScaled(out, units, decimals);
    }
    return printDigits(out, roundedDigits(std::fabs(value)), decimals);
}

// plainDecimalValue rounds v = magnitude / 10^6 once, to the nearest double d; v is a whole
// number of millionths below 10^9, so the argument beside printPlainFixed6 applies as it stands:
// printFixed6 prints d as v's digits, the integer part without leading zeros and six decimals,
// which is what printUnsignedMillionths writes. d's sign is the one asked for, -0 included, and
// printFixed6 writes "-" exactly when that sign is negative.
char *printMillionthsFixed6(char *out, std::uint64_t magnitude, bool negative) {
    if (negative) {
        *out++ = '-';
    }
    return printUnsignedMillionths(out, magnitude);
}

std::string formatFixed6(double value) {
    char text[kMaxFixed6Length];
    return std::string(text, printFixed6(text, value));
}

} // namespace velkaro
