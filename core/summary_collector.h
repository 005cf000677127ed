#pragma once

#include "conversion_summary.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace velkaro {

struct PointRecord;

// Gathers the per-code part of a ConversionSummary point by point, in memory bounded by
// codeLimit: the first codeLimit distinct codes each get their own entry, later ones go into
// otherCodes together.
class SummaryCollector {
  public:
    explicit SummaryCollector(std::size_t codeLimit = kMaxSummaryCodes) : m_codeLimit(codeLimit) {}
    void addPoint(const PointRecord &record);
    [[nodiscard]] ConversionSummary summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const;

  private:
    // The entry of the record's code: its own, or otherCodes once codeLimit codes are known.
    [[nodiscard]] CodeSummary &entryFor(const std::string &code);

    std::size_t m_codeLimit;
    CodeSummary m_otherCodes;
    std::vector<CodeSummary> m_codes;
    std::unordered_map<std::string, std::size_t> m_indexOfCode;
};

} // namespace velkaro
