#pragma once

#include "code_table.h"
#include "conversion_summary.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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
    static constexpr std::uint32_t kNoEntry = CodeTable::kAbsent;

    // The entry of the record's code: its own, or otherCodes once codeLimit codes are known.
    [[nodiscard]] CodeSummary &entryFor(std::string_view code);
    [[nodiscard]] CodeSummary &newEntry(std::string_view code, std::uint64_t hash);

    std::size_t m_codeLimit;
    CodeSummary m_otherCodes;
    std::vector<CodeSummary> m_codes;
    CodeTable m_numberOfCode; // the index in m_codes of each code there
    // The entry the last point went to when it had one of its own: points in a row often share
    // their code, and comparing with it is cheaper than a search.
    std::uint32_t m_lastEntry = kNoEntry;
};

} // namespace velkaro
