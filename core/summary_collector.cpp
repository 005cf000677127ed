#include "summary_collector.h"

#include "number_rules.h"
#include "point_record.h"

#include <algorithm>

namespace velkaro {
namespace {

void extend(ValueExtent &extent, const std::string &value) {
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
    const auto [entry, added] = m_indexOfCode.try_emplace(record.pointCode, m_codes.size());
    if (added) {
        m_codes.push_back(CodeSummary{record.pointCode, 0, {}, {}, {}});
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
