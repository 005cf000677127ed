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

void SummaryCollector::addPoint(const PointRecord &record) {
    auto entry = m_indexOfCode.find(record.pointCode);
    if (entry == m_indexOfCode.end()) {
        entry = m_indexOfCode.emplace(std::string(record.pointCode), m_codes.size()).first;
        m_codes.push_back(CodeSummary{std::string(record.pointCode), 0, {}, {}, {}});
    }
    CodeSummary &code = m_codes[entry->second];
    ++code.points;
    extend(code.x, record.x);
    extend(code.y, record.y);
    extend(code.z, record.z);
}

ConversionSummary SummaryCollector::summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const {
    return ConversionSummary{linesRead, linesTaken, m_codes};
}

} // namespace velkaro
