#pragma once

#include "axis_extent.h"
#include "code_table.h"
#include "conversion_summary.h"
#include "decimal_shape.h"
#include "point_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// Gathers the per-code part of a ConversionSummary point by point, in memory bounded by
// codeLimit: the first codeLimit distinct codes each get their own entry, later ones go into
// otherCodes together.
class SummaryCollector {
  public:
    explicit SummaryCollector(std::size_t codeLimit = kMaxSummaryCodes);
    // Inline: the summary's whole cost per point is here, and a call would add to it.
    void addPoint(const PointRecord &record) {
        Entry &entry = entryFor(record.pointCode);
        ++entry.points;
        addValue(entry.x, m_shapeOfX, record.x);
        addValue(entry.y, m_shapeOfY, record.y);
        addValue(entry.z, m_shapeOfZ, record.z);
    }
    [[nodiscard]] ConversionSummary summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const;

  private:
    static constexpr std::uint32_t kNoEntry = CodeTable::kAbsent;

    // The points of one code, or of the codes counted together.
    struct Entry {
        std::uint64_t points = 0;
        AxisExtent x;
        AxisExtent y;
        AxisExtent z;
    };

    // The entry of the record's code: its own, or m_otherCodes once codeLimit codes are known.
    // Inline, with the table's search: the summary looks a code up at every point. A code of at
    // most eight bytes is told apart by its key alone: that way is kept short.
    [[nodiscard]] Entry &entryFor(const std::string_view &code) {
        const CodeTable::Key key = CodeTable::keyOf(code);
        if (!CodeTable::isWhole(key)) {
            return entryForLong(code, key);
        }
        if (key == m_lastKey && m_lastEntry != kNoEntry) {
            return m_entries[m_lastEntry];
        }
        const std::uint32_t known = m_numberOfCode.find(key, [](std::uint32_t) { return true; });
        if (known == kNoEntry) {
            // Once every entry is taken, most codes of a file of unique names end here.
            return m_entries.size() >= m_codeLimit ? m_otherCodes : newEntry(code, key);
        }
        m_lastKey = key;
        m_lastEntry = known;
        return m_entries[known];
    }
    [[nodiscard]] Entry &entryForLong(const std::string_view &code, const CodeTable::Key &key);
    [[nodiscard]] Entry &entryForNew(const std::string_view &code, const CodeTable::Key &key);
    [[nodiscard]] Entry &newEntry(const std::string_view &code, const CodeTable::Key &key);
    // Adds a value to one axis of an entry, by the axis's usual shape when it has it; a value
    // without it teaches the shape its own, so that the shape follows the file. Values and codes
    // go by reference to the record's own views: by value, every point would keep a copy of
    // them aside for the rare longer way.
    static void addValue(AxisExtent &axis, DecimalShape &shape, const std::string_view &value) {
        std::uint64_t leading = 0;
        if (shape.matches(value, leading)) {
            axis.addShaped(value, shape, leading);
        } else {
            axis.add(value);
            shape.learn(value);
        }
    }
    // The points and extents of an entry, into the summary of its code.
    static void fill(CodeSummary &summary, const Entry &entry);

    std::size_t m_codeLimit;
    Entry m_otherCodes;
    std::vector<std::string> m_names; // the codes in the order they first appeared
    std::vector<Entry> m_entries;     // their points, in the same order
    CodeTable m_numberOfCode;         // the index in m_entries of each code there
    DecimalShape m_shapeOfX;          // the usual shape of each axis's values, whatever the code
    DecimalShape m_shapeOfY;
    DecimalShape m_shapeOfZ;
    // The code of the last point and its entry when it had one of its own: points in a row
    // often share their code, and comparing keys is cheaper than a search.
    CodeTable::Key m_lastKey;
    std::uint32_t m_lastEntry = kNoEntry;
};

} // namespace velkaro
