#include "axis_extent.h"

#include <algorithm>

namespace velkaro {

void AxisExtent::addBeyond(std::string_view value) {
    PlainDecimalWords words;
    if (kSingleRoundingDoubles && !m_doubles && readPlainWords(value, words)) {
        addPlain(words);
    } else {
        addOther(value);
    }
}

// A shaped value is one readPlainWords takes, and DecimalShape::wordsOf gives what it would.
void AxisExtent::addShapedBeyond(const std::string_view &value, const DecimalShape &shape) {
    if (kSingleRoundingDoubles && !m_doubles) {
        addPlain(shape.wordsOf(value));
    } else {
        addOther(value);
    }
}

// Distinct millionths below 10^15 make distinct doubles in the same order (plainDecimalValue
// rounds each once, and 10^-6 is more than two of their units in the last place), and equal
// ones the same double but for the sign of a zero. So an end moves only for a value strictly
// beyond it, as std::min and std::max keep the first of equal doubles, and the value an end
// gives at the close is what parseNumber gave the text that set it.
void AxisExtent::addPlain(const PlainDecimalWords &words) {
    const auto magnitude = static_cast<std::int64_t>(words.magnitude());
    const End end{{words.negative ? -magnitude : magnitude},
                  words.signed_ ? 0 : words.leadingBytes(),
                  words.negative};
    const std::uint32_t digits = words.signed_ ? kNoLeadingBytes : words.integerDigits;
    if (m_numbers == 0 || end.millionths < m_min.millionths) {
        m_min = end;
        m_minIntegerDigits = digits;
    }
    if (m_numbers == 0 || end.millionths > m_max.millionths) {
        m_max = end;
        m_maxIntegerDigits = digits;
    }
    m_sharedIntegerDigits =
        m_minIntegerDigits == m_maxIntegerDigits ? m_minIntegerDigits : kNoLeadingBytes;
    ++m_numbers;
}

void AxisExtent::addOther(std::string_view value) {
    std::uint64_t magnitude = 0;
    bool negative = false;
    if (kSingleRoundingDoubles && readPlainMillionths(value, magnitude, negative)) {
        addDouble(plainDecimalValue(magnitude, negative));
    } else if (holdsNumber(value)) {
        addDouble(parseNumber(value));
    }
}

// The first number that is not a plain decimal turns the ends into the doubles they stand for.
void AxisExtent::addDouble(double number) {
    if (!m_doubles) {
        m_min.value = valueOf(m_min);
        m_max.value = valueOf(m_max);
        m_sharedIntegerDigits = kNoLeadingBytes;
        m_doubles = true;
    }
    m_min.value = m_numbers == 0 ? number : std::min(m_min.value, number);
    m_max.value = m_numbers == 0 ? number : std::max(m_max.value, number);
    ++m_numbers;
}

std::uint64_t AxisExtent::magnitudeOf(const End &end) {
    return static_cast<std::uint64_t>(end.millionths < 0 ? -end.millionths : end.millionths);
}

double AxisExtent::valueOf(const End &end) {
    return plainDecimalValue(magnitudeOf(end), end.negative);
}

ValueExtent AxisExtent::extent() const {
    if (m_numbers == 0) {
        return {};
    }
    if (m_doubles) {
        return {m_numbers, m_min.value, m_max.value, ValueExtent::kNoMillionths,
                ValueExtent::kNoMillionths};
    }
    return {m_numbers, valueOf(m_min), valueOf(m_max), magnitudeOf(m_min), magnitudeOf(m_max)};
}

} // namespace velkaro
