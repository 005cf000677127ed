#include "summary_collector.h"

#include "number_rules.h"
#include "plain_decimal_words.h"
#include "point_record.h"

#include <algorithm>
#include <string>

namespace velkaro {
namespace {

void extendWith(ValueExtent &extent, double number) {
    extent.min = extent.numbers == 0 ? number : std::min(extent.min, number);
    extent.max = extent.numbers == 0 ? number : std::max(extent.max, number);
    ++extent.numbers;
}

// Extends by the value's parseNumber when it holds a number. A plain decimal, nearly every
// coordinate, is read a word at a time: readPlainMillionths accepts exactly the plain decimals
// and gives the magnitude scanPlainDecimal does, and plainDecimalValue turns it into the double
// as parseNumber itself does, so the number is the same double, the sign of a zero included.
void extend(ValueExtent &extent, std::string_view value) {
    std::uint64_t magnitude = 0;
    bool negative = false;
    if (kSingleRoundingDoubles && readPlainMillionths(value, magnitude, negative)) {
        extendWith(extent, plainDecimalValue(magnitude, negative));
    } else if (holdsNumber(value)) {
        extendWith(extent, parseNumber(value));
    }
}

} // namespace

CodeSummary &SummaryCollector::entryFor(std::string_view code) {
    if (m_lastEntry != kNoEntry && m_codes[m_lastEntry].code == code) {
        return m_codes[m_lastEntry];
    }
    const std::uint64_t hash = hashBytes(code);
    const std::uint32_t known = m_numberOfCode.find(
        hash, [&](std::uint32_t number) { return m_codes[number].code == code; });
    if (known != kNoEntry) {
        m_lastEntry = known;
        return m_codes[known];
    }
    if (m_codes.size() >= m_codeLimit) {
        return m_otherCodes;
    }
    return newEntry(code, hash);
}

CodeSummary &SummaryCollector::newEntry(std::string_view code, std::uint64_t hash) {
    m_lastEntry = static_cast<std::uint32_t>(m_codes.size());
    m_numberOfCode.insert(hash, m_lastEntry);
    m_codes.push_back(CodeSummary{std::string(code), 0, {}, {}, {}});
    return m_codes.back();
}

void SummaryCollector::addPoint(const PointRecord &record) {
    CodeSummary &code = entryFor(record.pointCode);
    ++code.points;
    extend(code.x, record.x);
    extend(code.y, record.y);
    extend(code.z, record.z);
}

ConversionSummary SummaryCollector::summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const {
    return ConversionSummary{linesRead, linesTaken, m_codes, m_otherCodes};
}

} // namespace velkaro
