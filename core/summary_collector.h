#pragma once

#include "conversion_summary.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace velkaro {

struct PointRecord;

// Gathers the per-code part of a ConversionSummary point by point.
class SummaryCollector {
  public:
    void addPoint(const PointRecord &record);
    [[nodiscard]] ConversionSummary summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const;

  private:
    std::vector<CodeSummary> m_codes;
    std::unordered_map<std::string, std::size_t> m_indexOfCode;
};

} // namespace velkaro
