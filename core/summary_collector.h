#pragma once

#include "conversion_summary.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
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
    // Looks codes up by their bytes where they lie, without making a string of each.
    struct CodeHash {
        using is_transparent = void;
        [[nodiscard]] std::size_t operator()(std::string_view code) const {
            return std::hash<std::string_view>{}(code);
        }
    };

    // The entry of the record's code: its own, or otherCodes once codeLimit codes are known.
    [[nodiscard]] CodeSummary &entryFor(std::string_view code);

    std::size_t m_codeLimit;
    CodeSummary m_otherCodes;
    std::vector<CodeSummary> m_codes;
    std::unordered_map<std::string, std::size_t, CodeHash, std::equal_to<>> m_indexOfCode;
};

} // namespace velkaro
