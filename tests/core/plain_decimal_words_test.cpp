// The word-at-a-time reader of plain decimals against the byte-at-a-time scan it stands in for.

#include "number_rules.h"
#include "plain_decimal_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using velkaro::PlainDecimal;

// What the general path says: whether text is a plain decimal, and its magnitude and sign.
void expectSameAsScan(const std::string &text) {
    PlainDecimal plain;
    const bool expected = velkaro::scanPlainDecimal(text, plain);
    std::uint64_t magnitude = 0;
    bool negative = false;
    ASSERT_EQ(velkaro::readPlainMillionths(text, magnitude, negative), expected)
        << "\"" << text << "\"";
    if (expected) {
        EXPECT_EQ(magnitude, plain.magnitude()) << "\"" << text << "\"";
        EXPECT_EQ(negative, plain.negative) << "\"" << text << "\"";
    }
}

TEST(PlainDecimalWords, AcceptsWhatTheScanAccepts) {
    const char *const rows[] = {"",
                                "-",
                                "+",
                                ".",
                                "-.",
                                "0",
                                "5.",
                                ".5",
                                "-.5",
                                "+7",
                                "--5",
                                "+-5",
                                "1.2.3",
                                "12a",
                                "1e5",
                                " 1",
                                "1 ",
                                "46.5617",
                                "516217.3275",
                                "3515143.5017",
                                "123456789.123456",
                                "1234567890",
                                "1.1234567",
                                "123456789",
                                "-123456789.123456",
                                "000000000.000000",
                                "0000000000.0",
                                "9.",
                                ("\x80"
                                 "1"), // a byte past ASCII, then a digit
                                "1\xb9",
                                "1/2",
                                "1:2",
                                "12345678.",
                                ".123456",
                                "-0",
                                "-0.000000",
                                "1234567.12345a"};
    for (const char *row : rows) {
        expectSameAsScan(row);
    }
}

// Texts made of the bytes that matter (digits, points, signs, bytes next to the digits and one
// with the high bit), at every length up to 20, mostly near the shape of a plain decimal.
TEST(PlainDecimalWords, AgreesWithTheScanOnRandomTexts) {
    std::mt19937_64 random(20261208);
    const std::string alphabet = "0123456789012345678901234567890123456789..-+/:e \xb0";
    for (int i = 0; i < 400000; ++i) {
        std::string text;
        const std::size_t length = random() % 21;
        for (std::size_t k = 0; k < length; ++k) {
            text += alphabet[random() % alphabet.size()];
        }
        expectSameAsScan(text);
    }
}

// Every shape a plain decimal can have, with random digits: each one is taken the fast way.
TEST(PlainDecimalWords, ReadsEveryShapeOfPlainDecimal) {
    std::mt19937_64 random(7);
    for (const char *sign : {"", "-", "+"}) {
        for (int integer = 0; integer <= 9; ++integer) {
            for (int decimals = -1; decimals <= 6; ++decimals) { // -1: no point
                for (int i = 0; i < 50 && integer + (decimals > 0 ? decimals : 0) > 0; ++i) {
                    std::string text = sign;
                    for (int k = 0; k < integer; ++k) {
                        text += static_cast<char>('0' + random() % 10);
                    }
                    text += decimals >= 0 ? "." : "";
                    for (int k = 0; k < decimals; ++k) {
                        text += static_cast<char>('0' + random() % 10);
                    }
                    std::uint64_t magnitude = 0;
                    bool negative = false;
                    ASSERT_TRUE(velkaro::readPlainMillionths(text, magnitude, negative)) << text;
                    expectSameAsScan(text);
                }
            }
        }
    }
}

} // namespace

namespace {

// The order the summary relies on: of two unsigned plain decimals with as many integer digits,
// the one with the smaller leading bytes is never the greater, here on digits that mostly agree
// in their first places.
TEST(PlainDecimalWords, LeadingBytesNeverOrderAgainstTheValues) {
    std::mt19937_64 random(31);
    const auto randomText = [&](int integer) {
        std::string text;
        for (int k = 0; k < integer; ++k) {
            text +=
                static_cast<char>('0' + (k < integer - 1 && random() % 4 != 0 ? 5 : random() % 10));
        }
        const int decimals = static_cast<int>(random() % 8) - 1; // -1: no point
        text += decimals >= 0 ? "." : "";
        for (int k = 0; k < decimals; ++k) {
            text += static_cast<char>('0' + (random() % 2 == 0 ? 0 : random() % 10));
        }
        return integer == 0 && decimals <= 0 ? std::string(".0") : text;
    };
    int ordered = 0;
    for (int i = 0; i < 200000; ++i) {
        const int integer = static_cast<int>(random() % 10);
        const std::string a = randomText(integer);
        const std::string b = randomText(integer);
        velkaro::PlainDecimalWords first;
        velkaro::PlainDecimalWords second;
        ASSERT_TRUE(velkaro::readPlainWords(a, first)) << a;
        ASSERT_TRUE(velkaro::readPlainWords(b, second)) << b;
        ASSERT_EQ(first.integerDigits, second.integerDigits) << a << " " << b;
        if (first.leadingBytes() < second.leadingBytes()) {
            ++ordered;
            ASSERT_LE(first.magnitude(), second.magnitude()) << a << " " << b;
            ASSERT_LE(velkaro::parseNumber(a), velkaro::parseNumber(b)) << a << " " << b;
        }
    }
    EXPECT_GT(ordered, 50000);
}

} // namespace
