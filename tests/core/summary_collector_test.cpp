// The summary's storage: the first distinct codes each get an entry, later ones are counted
// together, whatever the file.

#include "number_rules.h"
#include "point_record.h"
#include "reference_extent.h"
#include "summary_collector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(SummaryCollector, CodesAfterTheLimitAreCountedTogether) {
    velkaro::SummaryCollector collector(2);
    const std::pair<const char *, const char *> points[] = {{"A", "1"},  {"B", "5"}, {"A", "3"},
                                                            {"C", "-7"}, {"D", "9"}, {"C", "x"}};
    for (const auto &[code, x] : points) {
        velkaro::PointRecord record;
        record.pointCode = code;
        record.x = x;
        collector.addPoint(record);
    }
    const velkaro::ConversionSummary summary = collector.summary(6, 6);
    ASSERT_EQ(summary.codes.size(), 2u);
    EXPECT_EQ(summary.codes[0].code + summary.codes[1].code, "AB");
    EXPECT_EQ(summary.codes[0].points, 2u);
    EXPECT_EQ(summary.codes[0].x.max, 3.0);
    const velkaro::CodeSummary &others = summary.otherCodes;
    EXPECT_EQ(others.points, 3u);
    EXPECT_EQ(others.x.numbers, 2u); // "x" holds no number
    EXPECT_EQ(others.x.min, -7.0);
    EXPECT_EQ(others.x.max, 9.0);
    EXPECT_EQ(velkaro::SummaryCollector(3).summary(0, 0).otherCodes.points, 0u);
}

// The collector as it was first written: a map by code, every value through parseNumber.
class ReferenceCollector {
  public:
    explicit ReferenceCollector(std::size_t limit) : m_limit(limit) {}
    void addPoint(const velkaro::PointRecord &record) {
        velkaro::CodeSummary *entry = &m_others;
        const std::string code(record.pointCode);
        if (const auto known = m_index.find(code); known != m_index.end()) {
            entry = &m_codes[known->second];
        } else if (m_codes.size() < m_limit) {
            m_index.emplace(code, m_codes.size());
            m_codes.push_back(velkaro::CodeSummary{code, 0, {}, {}, {}});
            entry = &m_codes.back();
        }
        ++entry->points;
        velkaro::test::extendByParsing(entry->x, record.x);
        velkaro::test::extendByParsing(entry->y, record.y);
        velkaro::test::extendByParsing(entry->z, record.z);
    }
    std::vector<velkaro::CodeSummary> m_codes;
    velkaro::CodeSummary m_others;

  private:
    std::size_t m_limit;
    std::map<std::string, std::size_t> m_index;
};

// Bit for bit, so that the sign of a zero counts.
void expectSameExtent(const velkaro::ValueExtent &got, const velkaro::ValueExtent &expected) {
    EXPECT_EQ(got.numbers, expected.numbers);
    if (expected.numbers != 0) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.min),
                  std::bit_cast<std::uint64_t>(expected.min));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.max),
                  std::bit_cast<std::uint64_t>(expected.max));
    }
}

void expectSameCode(const velkaro::CodeSummary &got, const velkaro::CodeSummary &expected) {
    EXPECT_EQ(got.code, expected.code);
    EXPECT_EQ(got.points, expected.points);
    expectSameExtent(got.x, expected.x);
    expectSameExtent(got.y, expected.y);
    expectSameExtent(got.z, expected.z);
}

[[nodiscard]] std::string randomValue(std::mt19937_64 &random) {
    static const char *const kOthers[] = {
        "",     "-0",  "+0.0",  "0", "1e3",          "-2.5d1",    " 7.5",
        "8.5m", "abc", "-.000", ".", "1234567890.5", "1.1234567", "-0.0000001"};
    if (random() % 5 == 0) {
        return kOthers[random() % std::size(kOthers)];
    }
    std::string text = random() % 6 == 0 ? "-" : "";
    text += std::to_string(random() % 100000) + "." + std::to_string(random() % 10000);
    return text;
}

// Codes that repeat in runs, as surveyed, and many seen once; values of every kind.
TEST(SummaryCollector, GivesWhatParsingEveryValueGives) {
    std::mt19937_64 random(11);
    for (const std::size_t limit : {std::size_t{3}, std::size_t{50}, velkaro::kMaxSummaryCodes}) {
        velkaro::SummaryCollector collector(limit);
        ReferenceCollector reference(limit);
        std::string code = "FW";
        for (int i = 0; i < 20000; ++i) {
            if (random() % 3 == 0) {
                code = random() % 2 == 0 ? "K" + std::to_string(random() % 8)
                                         : "P" + std::to_string(random() % 400);
            }
            const std::string x = randomValue(random);
            const std::string y = randomValue(random);
            const std::string z = randomValue(random);
            velkaro::PointRecord record;
            record.pointCode = code;
            record.x = x;
            record.y = y;
            record.z = z;
            collector.addPoint(record);
            reference.addPoint(record);
        }
        const velkaro::ConversionSummary summary = collector.summary(0, 0);
        ASSERT_EQ(summary.codes.size(), reference.m_codes.size());
        for (std::size_t i = 0; i < summary.codes.size(); ++i) {
            expectSameCode(summary.codes[i], reference.m_codes[i]);
        }
        expectSameCode(summary.otherCodes, reference.m_others);
    }
}

} // namespace
