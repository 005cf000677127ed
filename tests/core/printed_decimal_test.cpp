#include "printed_decimal.h"

#include "number_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

struct AddRow {
    std::string printed;
    std::int64_t millionths;
    std::string expected; // empty: refused
};

class AddMillionthsTest : public ::testing::TestWithParam<AddRow> {};

TEST_P(AddMillionthsTest, AddsExactlyOrRefuses) {
    std::int64_t value = 0;
    const bool parsed = velkaro::parseMillionths(GetParam().printed, value);
    char text[32];
    const std::string sum =
        parsed ? std::string(text, velkaro::printMillionths(text, value + GetParam().millionths))
               : std::string();
    EXPECT_EQ(sum, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddMillionthsTest,
    ::testing::Values(
        AddRow{"3515102.935800", -1500000, "3515101.435800"},
        AddRow{"-0.500000", 500000, "0.000000"}, AddRow{"-0.000000", 500000, "0.500000"},
        AddRow{"0.100000", -600000, "-0.500000"}, AddRow{"-1.250000", 250000, "-1.000000"},
        AddRow{"0.000000", 7, "0.000007"}, AddRow{"10000000.000000", 0, "10000000.000000"},
        AddRow{"99999999.999998", 1, "99999999.999999"},
        AddRow{"99999999.999999", 1, "100000000.000000"},
        AddRow{"999999999999.999999", 1, "1000000000000.000000"},
        AddRow{"1000000000000.000000", 1, ""}, AddRow{"1.#INF00", 1, ""},
        AddRow{"-1.#INF00", 1, ""}, AddRow{"1.5", 1, ""}, AddRow{"-.500000", 1, ""},
        AddRow{"1.0000000", 1, ""},
        AddRow{"-999999999999.999999", -999999999999999999, "-1999999999999.999998"}));

// Rounding the printed digits again gives what printing at fewer decimals gives, except at a
// half, which the printed digits cannot decide and which is refused.
TEST(RoundPrinted, AgreesWithPrintFixedOrRefusesAHalf) {
    std::mt19937_64 random(4);
    std::uniform_real_distribution<double> unit(-5000.0, 5000.0);
    int refused = 0;
    for (int i = 0; i < 50000; ++i) {
        const int decimals = i % 6;
        double value = unit(random);
        if (i % 3 == 0) { // values within a millionth of a half at the last decimal kept
            const double scale = std::pow(10.0, decimals);
            value = (std::floor(value * scale) + 0.5) / scale + (i % 2 ? 4e-7 : -4e-7);
        }
        char printed[velkaro::kMaxFixed6Length];
        const std::string six(printed, velkaro::printFixed6(printed, value));
        char text[velkaro::kMaxFixed6Length];
        char *end = nullptr;
        const std::string expected(text, velkaro::printFixed(text, value, decimals));
        if (velkaro::roundPrinted(six, decimals, text, end)) {
            ASSERT_EQ(std::string(text, end), expected) << six << " " << decimals;
        } else {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);     // the halves were met, and left to printFixed
    EXPECT_LT(refused, 25000); // and the shortcut serves most values
}

} // namespace

namespace {

// The printed form of random millionths against one built with std::to_chars, and read back.
TEST(PrintMillionths, RandomValuesPrintAsTheirDigitsAndReadBack) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t magnitude =
            static_cast<std::int64_t>(random() % (std::uint64_t{1} << (random() % 59)));
        const std::int64_t millionths = i % 2 ? -magnitude : magnitude;
        char text[32];
        const std::string printed(text, velkaro::printMillionths(text, millionths));
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, "%06lld",
                      static_cast<long long>(magnitude % 1000000));
        const std::string expected =
            (millionths < 0 ? "-" : "") + std::to_string(magnitude / 1000000) + "." + fraction;
        ASSERT_EQ(printed, expected);
        std::int64_t back = 0;
        ASSERT_TRUE(velkaro::parseMillionths(printed, back));
        ASSERT_EQ(back, millionths);
    }
}

} // namespace
