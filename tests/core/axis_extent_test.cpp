// One axis of one code: the ends kept as millionths and the values found between them by their
// leading bytes against std::min and std::max of every value's parseNumber, bit for bit.

#include "axis_extent.h"
#include "decimal_shape.h"
#include "number_rules.h"
#include "reference_extent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the summary gave before it kept millionths: every value through parseNumber.
[[nodiscard]] velkaro::ValueExtent referenceExtent(const std::vector<std::string> &values) {
    velkaro::ValueExtent extent;
    for (const std::string &value : values) {
        velkaro::test::extendByParsing(extent, value);
    }
    return extent;
}

// The millionths an extent may carry stand for its ends exactly, signs included.
void expectMillionthsOfEnds(const velkaro::ValueExtent &got) {
    for (const auto &[end, millionths] :
         {std::pair{got.min, got.minMillionths}, std::pair{got.max, got.maxMillionths}}) {
        if (millionths != velkaro::ValueExtent::kNoMillionths) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(end),
                      std::bit_cast<std::uint64_t>(
                          velkaro::plainDecimalValue(millionths, std::signbit(end))));
        }
    }
}

// The values fed one way or the other: add alone, or as the summary feeds them, by the usual
// shape when they have it (which then takes its words from the shape) and add otherwise.
[[nodiscard]] velkaro::ValueExtent extentOf(const std::vector<std::string> &values, bool shaped) {
    velkaro::AxisExtent axis;
    velkaro::DecimalShape shape;
    for (const std::string &value : values) {
        std::uint64_t leading = 0;
        if (shaped && shape.matches(value, leading)) {
            axis.addShaped(value, shape, leading);
        } else {
            axis.add(value);
            shape.learn(value);
        }
    }
    return axis.extent();
}

void expectSameAsReference(const std::vector<std::string> &values, bool shaped) {
    const velkaro::ValueExtent got = extentOf(values, shaped);
    expectMillionthsOfEnds(got);
    const velkaro::ValueExtent expected = referenceExtent(values);
    ASSERT_EQ(got.numbers, expected.numbers);
    if (expected.numbers != 0) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.min), std::bit_cast<std::uint64_t>(expected.min))
            << got.min << " " << expected.min << " from " << values.front();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.max), std::bit_cast<std::uint64_t>(expected.max))
            << got.max << " " << expected.max << " from " << values.front();
    }
}

void expectSameAsReference(const std::vector<std::string> &values) {
    for (const bool shaped : {false, true}) {
        expectSameAsReference(values, shaped);
    }
}

TEST(AxisExtent, KeepsTheFirstOfEqualValuesWithTheSignOfItsZero) {
    expectSameAsReference({"0", "-0", "0.000", "-0.0"});
    expectSameAsReference({"-0", "0", "+0"});
    expectSameAsReference({"-0.000", "-0", "0"});
    expectSameAsReference({"5", "-0", "0", "-0"});
    expectSameAsReference({"12.5", "12.50", "12.500000", "12.5"});
    expectSameAsReference({"abc", "", "-", "."});
    expectSameAsReference({"3515143.5", "3515143", "3515143.", "3515143.49", "3515143.51"});
}

TEST(AxisExtent, TurnsToDoublesAtTheFirstNumberOfAnotherForm) {
    expectSameAsReference({"12.5", "1e3", "13.25", "-0", "7"});
    expectSameAsReference({"-0", "1e-400", "0"});
    expectSameAsReference({"2", "1e999", "-1e999", "3"});
    expectSameAsReference({"1.1234567", "1.1234566", "1.12345665"});
    expectSameAsReference({" 7.5", "7.25", "x", "7.75"});
}

// Random plain decimals of one integer width with shared leading digits, so that many differ
// only past the eighth byte or in the number of decimals; now and then a sign, a zero, a value
// of another width or of another form.
[[nodiscard]] std::string randomValue(std::mt19937_64 &random, int integerDigits) {
    static const char *const kOthers[] = {"-0",  "0", "+0.0", "1e3", "-2.5d1", " 7.5",     "8.5m",
                                          "abc", "",  ".5",   "5.",  "-.000",  "1.1234567"};
    const std::uint64_t pick = random() % 40;
    if (pick == 0) {
        return kOthers[random() % std::size(kOthers)];
    }
    std::string text = pick == 1 ? "-" : (pick == 2 ? "+" : "");
    const int width = pick == 3 ? static_cast<int>(random() % 10) : integerDigits;
    for (int i = 0; i < width; ++i) {
        // the first digits mostly the same, as in one survey's coordinates
        text += static_cast<char>('0' + (i < width - 2 && random() % 8 != 0 ? 3 : random() % 10));
    }
    const int decimals = static_cast<int>(random() % 8) - 1; // -1: no point
    if (decimals >= 0) {
        text += '.';
    }
    for (int i = 0; i < decimals; ++i) {
        text += static_cast<char>('0' + (random() % 3 == 0 ? 0 : random() % 10));
    }
    return text.empty() || text == "-" || text == "+" ? "0" : text;
}

TEST(AxisExtent, GivesWhatParsingEveryValueGivesOnRandomValues) {
    std::mt19937_64 random(20261209);
    for (int run = 0; run < 3000; ++run) {
        const int integerDigits = static_cast<int>(random() % 10);
        std::vector<std::string> values(1 + random() % 60);
        for (std::string &value : values) {
            value = randomValue(random, integerDigits);
        }
        expectSameAsReference(values);
    }
}

} // namespace
