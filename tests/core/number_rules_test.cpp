#include "number_rules.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

using velkaro::formatFixed6;
using velkaro::parseNumber;

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ParseRow {
    const char *text;
    double expected;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseNumberTest, FollowsTheAtofGrammar) {
    const ParseRow row = GetParam();
    const double value = parseNumber(row.text);
    // Bit for bit, so that the sign of a zero counts.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(row.expected))
        << "text \"" << row.text << "\" gave " << value;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseNumberTest,
    ::testing::Values(
        ParseRow{"10.5", 10.5}, ParseRow{"-3", -3.0}, ParseRow{"+4.25", 4.25},
        ParseRow{"3515191.0194", 3515191.0194}, ParseRow{" 12.5m", 12.5},
        ParseRow{" \t\n\v\f\r7", 7.0}, ParseRow{"00012", 12.0}, ParseRow{".5", 0.5},
        ParseRow{"5.", 5.0}, ParseRow{"1.2.3", 1.2}, ParseRow{"1..2", 1.0},
        // exponents: e, E, d and D, signed or not; a letter without digits is not part of it
        ParseRow{"2e3", 2000.0}, ParseRow{"2E+3", 2000.0}, ParseRow{"1.5d2", 150.0},
        ParseRow{"1.5D-1", 0.15}, ParseRow{"1e", 1.0}, ParseRow{"1e+", 1.0}, ParseRow{"1d-x", 1.0},
        ParseRow{"1 e5", 1.0},
        // no digits, hexadecimal, infinity and NaN forms: zero, and a plain one
        ParseRow{"", 0.0}, ParseRow{"abc", 0.0}, ParseRow{".", 0.0}, ParseRow{"-", 0.0},
        ParseRow{"+", 0.0}, ParseRow{"-.", 0.0}, ParseRow{"e5", 0.0}, ParseRow{"0x10", 0.0},
        ParseRow{"inf", 0.0}, ParseRow{"-inf", 0.0}, ParseRow{"nan", 0.0},
        ParseRow{"infinity", 0.0}, ParseRow{"- 1", 0.0},
        // signed zeros
        ParseRow{"-0", -0.0}, ParseRow{"-0.000", -0.0}, ParseRow{"0e99999", 0.0},
        // overflow and underflow keep the sign
        ParseRow{"1e999", kInf}, ParseRow{"-1e999", -kInf}, ParseRow{"1d400", kInf},
        ParseRow{"1e-999", 0.0}, ParseRow{"-1e-999", -0.0},
        ParseRow{"1e99999999999999999999", kInf}, ParseRow{"0.00001e-99999999999", 0.0},
        ParseRow{"123456789012345678901234567890", 1.2345678901234568e29},
        ParseRow{"1.7976931348623157e308", 1.7976931348623157e308},
        ParseRow{"4.9406564584124654e-324", 4.9406564584124654e-324}));

TEST(ParseNumber, LongMantissaIsExact) {
    // 0.000…01 with 300 zeros, times 10^300: the digits far from the point still count.
    const std::string text = "0." + std::string(300, '0') + "1e300";
    EXPECT_EQ(parseNumber(text), 0.1);
    const std::string longD = "1" + std::string(400, '0') + "d-400";
    EXPECT_EQ(parseNumber(longD), 1.0);
}

TEST(ParseNumber, AgreesWithFromCharsOnRandomDecimals) {
    // Plain decimals take an exact integer path; it must give the correctly rounded double.
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        std::string text = std::to_string(random() % 100000000000ULL);
        const std::size_t point = random() % (text.size() + 1);
        text.insert(point, ".");
        text.append(std::to_string(random() % 100000000000ULL).substr(0, random() % 12));
        if (i % 4 == 0) {
            text += (i % 8 ? "e" : "E") + std::to_string(static_cast<int>(random() % 60) - 30);
        }
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(parseNumber(text), expected) << text;
        ASSERT_EQ(parseNumber("-" + text), -expected) << text;
    }
}

struct FormatRow {
    double value;
    std::string expected;
};

class FormatFixed6Test : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatFixed6Test, PrintsSixDecimalsBySeventeenDigitRounding) {
    EXPECT_EQ(formatFixed6(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatFixed6Test,
    ::testing::Values(
        FormatRow{0.0, "0.000000"}, FormatRow{10.5, "10.500000"}, FormatRow{-3.0, "-3.000000"},
        FormatRow{3515191.0194, "3515191.019400"}, FormatRow{41.8932, "41.893200"},
        // where the C library's exact, ties-to-even printing differs
        FormatRow{0.1234565, "0.123457"}, FormatRow{12345678901.0078125, "12345678901.007813"},
        FormatRow{2.0000005, "2.000001"}, FormatRow{999999.9999995, "1000000.000000"},
        FormatRow{0.5, "0.500000"}, FormatRow{9.9999995, "9.999999"},
        // negative zeros and negatives that round to zero
        FormatRow{-0.0, "-0.000000"}, FormatRow{-1e-9, "-0.000000"},
        FormatRow{-0.0000004, "-0.000000"}, FormatRow{-4.9406564584124654e-324, "-0.000000"},
        FormatRow{5e-7, "0.000000"}, FormatRow{0.0000015, "0.000002"},
        FormatRow{0.00390625, "0.003906"}, FormatRow{0.0039062, "0.003906"},
        // digits past the 17th significant one print as zeros
        FormatRow{123456789012345678.0, "123456789012345680.000000"},
        FormatRow{9223372036854775808.0, "9223372036854775800.000000"},
        FormatRow{18446744073709551616.0, "18446744073709552000.000000"},
        FormatRow{1e17, "100000000000000000.000000"},
        FormatRow{1e300, "10000000000000001" + std::string(284, '0') + ".000000"},
        FormatRow{-1.7976931348623157e308,
                  "-17976931348623157" + std::string(292, '0') + ".000000"},
        FormatRow{kInf, "1.#INF00"}, FormatRow{-kInf, "-1.#INF00"}));

// A second, independent way to the same bytes: the exact decimal expansion in fixed notation,
// rounded with plain string arithmetic. It is slow, and it is obviously right.
void incrementDecimal(std::string &digits, std::size_t last) {
    for (std::size_t i = last + 1; i-- > 0;) {
        if (digits[i] == '.') {
            continue;
        }
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string referenceFixed(double value, int decimals = 6) {
    std::string sign = std::signbit(value) ? "-" : "";
    char buffer[1500];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::fixed, 1100)
                         .ptr;
    std::string text(1, '0'); // a spare leading digit for carries
    text.append(buffer, end);
    std::size_t first = text.find_first_not_of("0.");
    if (first != std::string::npos) {
        std::size_t seen = 0, i = first;
        for (; i < text.size() && seen < 17; ++i) {
            seen += text[i] != '.';
        }
        while (i < text.size() && text[i] == '.') {
            ++i;
        }
        const bool up = i < text.size() && text[i] >= '5';
        for (std::size_t k = i; k < text.size(); ++k) {
            text[k] = text[k] == '.' ? '.' : '0';
        }
        if (up) {
            incrementDecimal(text, i - 1);
        }
    }
    const std::size_t point = text.find('.');
    const auto kept = static_cast<std::size_t>(decimals);
    const bool up = text[point + kept + 1] >= '5';
    text.resize(point + kept + 1);
    if (up) {
        incrementDecimal(text, point + kept);
    }
    while (text.size() > 1 && text[0] == '0' && text[1] != '.') {
        text.erase(0, 1);
    }
    if (decimals == 0) {
        text.pop_back(); // "%.0f" prints no point
    }
    return sign + text;
}

TEST(FormatFixed6, AgreesWithStringRoundingOnRandomValues) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> power(-12, 22);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    for (int i = 0; i < 60000; ++i) {
        double value = unit(random) * std::pow(10.0, power(random));
        if (i % 3 == 0) { // values on a decimal grid, as surveyors' files hold them
            value = std::round(value * 1e4) / 1e4;
        } else if (i % 3 == 1) { // ties at the seventh decimal
            value = (std::floor(value * 1e6) + 0.5) / 1e6;
        }
        value = (i & 1) ? -value : value;
        ASSERT_EQ(formatFixed6(value), referenceFixed(value)) << std::hexfloat << value;
    }
}

TEST(FormatFixed6, AgreesWithStringRoundingOnRandomBitPatterns) {
    std::mt19937_64 random(42);
    for (int i = 0; i < 3000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isnan(value) || std::isinf(value)) {
            continue;
        }
        ASSERT_EQ(formatFixed6(value), referenceFixed(value)) << std::hexfloat << value;
    }
}

} // namespace

// The elevation labels' decimals: the same rounding rule at every count from 0 to 6.
TEST(PrintFixed, AgreesWithStringRoundingAtEveryDecimalCount) {
    std::mt19937_64 random(936);
    std::uniform_int_distribution<int> power(-8, 14);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    for (int i = 0; i < 40000; ++i) {
        const int decimals = i % 7;
        double value = unit(random) * std::pow(10.0, power(random));
        if (i % 2 == 0) { // ties at the first decimal not printed
            const double scale = std::pow(10.0, decimals);
            value = (std::floor(value * scale) + 0.5) / scale;
        }
        value = (i % 3 == 0) ? -value : value;
        char text[velkaro::kMaxFixed6Length];
        const std::string printed(text, velkaro::printFixed(text, value, decimals));
        ASSERT_EQ(printed, referenceFixed(value, decimals))
            << std::hexfloat << value << " " << decimals;
    }
    char text[velkaro::kMaxFixed6Length];
    EXPECT_EQ(std::string(text, velkaro::printFixed(text, 42.7988, 3)), "42.799");
    EXPECT_EQ(std::string(text, velkaro::printFixed(text, 2.5, 0)), "3");
    EXPECT_EQ(std::string(text, velkaro::printFixed(text, -kInf, 2)), "-1.#INF00");
}

namespace {

// Random plain decimals (sign, up to nine integer digits with leading zeros, up to six decimals)
// against the general path, which the same value takes when spelled with an exponent.
TEST(PlainDecimal, DigitsGiveWhatTheGeneralPathGives) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 300000; ++i) {
        std::string text = i % 3 == 0 ? "-" : i % 7 == 0 ? "+" : "";
        const std::uint64_t integerDigits = random() % 10;
        const std::uint64_t decimals = random() % 7;
        for (std::uint64_t d = 0; d < integerDigits; ++d) {
            text += static_cast<char>('0' + (random() % 3 == 0 ? 9 : random() % 10));
        }
        if (decimals > 0 || random() % 2 == 0) {
            text += '.';
        }
        for (std::uint64_t d = 0; d < decimals; ++d) {
            text += static_cast<char>('0' + random() % 10);
        }
        velkaro::PlainDecimal plain;
        ASSERT_EQ(velkaro::scanPlainDecimal(text, plain), integerDigits + decimals > 0) << text;
        // The scan that reads the magnitude as it goes agrees with the digits scanned.
        velkaro::PlainDecimal withValue;
        std::uint64_t magnitude = 0;
        ASSERT_EQ(velkaro::scanPlainDecimal(text, withValue, magnitude),
                  integerDigits + decimals > 0)
            << text;
        ASSERT_EQ(magnitude, integerDigits + decimals > 0 ? plain.magnitude() : 0U) << text;
        const double general = parseNumber(text + "e0");
        ASSERT_EQ(std::bit_cast<std::uint64_t>(parseNumber(text)),
                  std::bit_cast<std::uint64_t>(general))
            << text;
        char fast[velkaro::kMaxFixed6Length];
        char slow[velkaro::kMaxFixed6Length];
        ASSERT_EQ(std::string(fast, velkaro::printNumberFixed6(fast, text)),
                  std::string(slow, velkaro::printFixed6(slow, general)))
            << text;
        if (integerDigits + decimals > 0) {
            ASSERT_EQ(static_cast<double>(plain.millionths()), std::round(general * 1e6)) << text;
        }
    }
}

TEST(PlainDecimal, OnlyTheWholeFieldInTheUsualFormIsPlain) {
    velkaro::PlainDecimal plain;
    for (const char *text : {"", "-", ".", "-.", "1234567890", "1.1234567", " 1", "1 ", "1e5",
                             "1.5m", "0x1", "--1", "1..2"}) {
        EXPECT_FALSE(velkaro::scanPlainDecimal(text, plain)) << text;
    }
    for (const char *text : {"0", "-0", "+.5", "5.", "123456789.123456", "000000001"}) {
        EXPECT_TRUE(velkaro::scanPlainDecimal(text, plain)) << text;
    }
}

// A whole number of millionths below 10^15 of every width, with either sign, printed from its
// digits against printFixed6 of the nearest double (std::strtod of its decimal text rounds
// correctly, independently of plainDecimalValue) and of plainDecimalValue's.
TEST(PrintMillionthsFixed6, AgreesWithPrintFixed6OfTheNearestDouble) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t bound = 10;
        for (std::uint64_t widths = random() % 15; widths > 0; --widths) {
            bound *= 10;
        }
        const std::uint64_t magnitude = random() % bound;
        const bool negative = random() % 3 == 0;
        const std::string decimal = (negative ? "-" : "") + std::to_string(magnitude / 1000000) +
                                    "." + std::to_string(1000000 + magnitude % 1000000).substr(1);
        const double nearest = std::strtod(decimal.c_str(), nullptr);
        ASSERT_EQ(nearest, velkaro::plainDecimalValue(magnitude, negative)) << decimal;
        char fromMillionths[velkaro::kMaxFixed6Length];
        const std::string printed(
            fromMillionths, velkaro::printMillionthsFixed6(fromMillionths, magnitude, negative));
        ASSERT_EQ(printed, decimal);
        ASSERT_EQ(printed, formatFixed6(nearest)) << decimal;
        ASSERT_EQ(printed, formatFixed6(velkaro::plainDecimalValue(magnitude, negative)))
            << decimal;
    }
}

} // namespace
