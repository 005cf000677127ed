#pragma once

#include "conversion_summary.h"
#include "decimal_shape.h"
#include "number_rules.h"
#include "plain_decimal_words.h"

#include <cstdint>
#include <string_view>

namespace velkaro {

// The least and greatest parseNumber of the values given, one axis of one code, as ValueExtent
// holds them: exactly what taking std::min and std::max of the doubles in turn gives, the sign of
// a zero included. While every number is a plain decimal the ends are kept as millionths and
// compared as integers, and a value is mostly found between them by its leading bytes alone; the
// first number of another form turns the ends into doubles for good.
class AxisExtent {
  public:
    // Inline, with the reading, because the summary calls it for every coordinate; a value
    // that may move an end, and every value once the ends are doubles, goes the longer way.
    void add(std::string_view value) {
        PlainDecimalWords words;
        if (readPlainWords(value, words) && betweenEnds(words)) {
            ++m_numbers;
        } else {
            addBeyond(value);
        }
    }
    // add, for a value of the axis's usual DecimalShape, whose leading bytes the shape's test
    // gave: an unsigned plain decimal, so only the test against the ends is left, and a value
    // that may move an end takes its words from the shape instead of reading them again.
    void addShaped(const std::string_view &value, const DecimalShape &shape,
                   std::uint64_t leading) {
        if (shape.integerDigits() == m_sharedIntegerDigits && leading > m_min.leadingBytes &&
            leading < m_max.leadingBytes) {
            ++m_numbers;
        } else {
            addShapedBeyond(value, shape);
        }
    }
    [[nodiscard]] ValueExtent extent() const;

  private:
    static constexpr std::uint32_t kNoLeadingBytes = UINT32_MAX;

    // One end: the plain decimal that set it, or, once the ends are doubles, that double, in
    // the same room (an entry holds six ends, and the summary up to ten thousand entries).
    struct End {
        union {
            std::int64_t millionths = 0; // with the sign
            double value;                // the end once the ends are doubles
        };
        std::uint64_t leadingBytes = 0;
        bool negative = false; // its text's '-', which a zero keeps
    };

    // Whether an unsigned value lies between the ends by its leading bytes, which tells only
    // when both ends were set by unsigned texts with as many integer digits as it: then neither
    // end would move. Never while there are no ends, nor once they are doubles.
    [[nodiscard]] bool betweenEnds(const PlainDecimalWords &words) const {
        if (words.signed_ || words.integerDigits != m_sharedIntegerDigits) {
            return false;
        }
        const std::uint64_t leading = words.leadingBytes();
        return leading > m_min.leadingBytes && leading < m_max.leadingBytes;
    }
    void addBeyond(std::string_view value);
    void addShapedBeyond(const std::string_view &value, const DecimalShape &shape);
    void addPlain(const PlainDecimalWords &words);
    void addOther(std::string_view value);
    void addDouble(double number);
    [[nodiscard]] static std::uint64_t magnitudeOf(const End &end);
    [[nodiscard]] static double valueOf(const End &end);

    std::uint64_t m_numbers = 0;
    End m_min;
    End m_max;
    // The integer digits of the texts that set both ends when both are unsigned plain decimals
    // with as many; kNoLeadingBytes otherwise, and while there are no ends.
    std::uint32_t m_sharedIntegerDigits = kNoLeadingBytes;
    std::uint32_t m_minIntegerDigits = kNoLeadingBytes;
    std::uint32_t m_maxIntegerDigits = kNoLeadingBytes;
    bool m_doubles = false;
};

} // namespace velkaro
