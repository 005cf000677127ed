#include "summary_collector.h"

namespace velkaro {

// Room for every entry there may be, so that they are never moved and the table never grows:
// the pages are only reserved, and become memory as entries fill them.
SummaryCollector::SummaryCollector(std::size_t codeLimit)
    : m_codeLimit(codeLimit), m_numberOfCode(codeLimit) {
    m_names.reserve(codeLimit);
    m_entries.reserve(codeLimit);
}

SummaryCollector::Entry &SummaryCollector::entryForLong(const std::string_view &code,
                                                        const CodeTable::Key &key) {
    if (key == m_lastKey && m_lastEntry != kNoEntry && m_names[m_lastEntry] == code) {
        return m_entries[m_lastEntry];
    }
    const std::uint32_t known =
        m_numberOfCode.find(key, [&](std::uint32_t number) { return m_names[number] == code; });
    if (known == kNoEntry) {
        return entryForNew(code, key);
    }
    m_lastKey = key;
    m_lastEntry = known;
    return m_entries[known];
}

// A code not seen before: an entry of its own while there is room, otherwise the common one.
SummaryCollector::Entry &SummaryCollector::entryForNew(const std::string_view &code,
                                                       const CodeTable::Key &key) {
    if (m_entries.size() >= m_codeLimit) {
        return m_otherCodes;
    }
    return newEntry(code, key);
}

SummaryCollector::Entry &SummaryCollector::newEntry(const std::string_view &code,
                                                    const CodeTable::Key &key) {
    m_lastKey = key;
    m_lastEntry = static_cast<std::uint32_t>(m_entries.size());
    m_numberOfCode.insert(key, m_lastEntry);
    m_names.emplace_back(code);
    return m_entries.emplace_back();
}

void SummaryCollector::fill(CodeSummary &summary, const Entry &entry) {
    summary.points = entry.points;
    summary.x = entry.x.extent();
    summary.y = entry.y.extent();
    summary.z = entry.z.extent();
}

// Filled in place: ten thousand codes, each made and copied once.
ConversionSummary SummaryCollector::summary(std::uint64_t linesRead,
                                            std::uint64_t linesTaken) const {
    ConversionSummary result{linesRead, linesTaken, {}, {}};
    fill(result.otherCodes, m_otherCodes);
    result.codes.resize(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        result.codes[i].code = m_names[i];
        fill(result.codes[i], m_entries[i]);
    }
    return result;
}

} // namespace velkaro
