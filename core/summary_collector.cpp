#include "summary_collector.h"

#include "number_rules.h"
#include "point_record.h"

#include <algorithm>

namespace velkaro {
namespace {

void extend(ValueExtent &extent, std::string_view value) {
    if (!holdsNumber(value)) {
        return;
    }
    const double number = parseNumber(value);
    extent.min = extent.numbers == 0 ? number : std::min(extent.min, number);
    extent.max = extent.numbers == 0 ? number : std::max(extent.max, number);
    ++extent.numbers;
}

} // namespace

CodeSummary &SummaryCollector::entryFor(std::string_view code) {
    if (const auto known = m_indexOfCode.find(code); known != m_indexOfCode.end()) {
        return m_codes[known->second];
    }
    if (m_codes.size() >= m_codeLimit) {
        return m_otherCodes;
    }
    m_indexOfCode.emplace(std::string(code), m_codes.size());
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
