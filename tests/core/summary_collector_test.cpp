// The summary's storage: the first distinct codes each get an entry, later ones are counted
// together, whatever the file.

#include "point_record.h"
#include "summary_collector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using velkaro::CodeSummary;
using velkaro::ConversionSummary;
using velkaro::PointRecord;
using velkaro::SummaryCollector;

PointRecord pointWith(const std::string &code, const std::string &x) {
    PointRecord record;
    record.pointCode = code;
    record.x = x;
    record.y = "2";
    record.z = "abc";
    return record;
}

ConversionSummary summaryOf(std::size_t limit,
                            const std::vector<std::pair<std::string, std::string>> &points) {
    SummaryCollector collector(limit);
    for (const auto &[code, x] : points) {
        collector.addPoint(pointWith(code, x));
    }
    return collector.summary(points.size(), points.size());
}

TEST(SummaryCollector, CodesAfterTheLimitAreCountedTogether) {
    const ConversionSummary summary =
        summaryOf(2, {{"A", "1"}, {"B", "5"}, {"A", "3"}, {"C", "-7"}, {"D", "9"}, {"C", "x"}});
    ASSERT_EQ(summary.codes.size(), 2u);
    EXPECT_EQ(summary.codes[0].code, "A");
    EXPECT_EQ(summary.codes[0].points, 2u);
    EXPECT_EQ(summary.codes[0].x.min, 1.0);
    EXPECT_EQ(summary.codes[0].x.max, 3.0);
    EXPECT_EQ(summary.codes[1].code, "B");
    const CodeSummary &others = summary.otherCodes;
    EXPECT_EQ(others.code, "");
    EXPECT_EQ(others.points, 3u);
    EXPECT_EQ(others.x.numbers, 2u); // "x" holds no number
    EXPECT_EQ(others.x.min, -7.0);
    EXPECT_EQ(others.x.max, 9.0);
    EXPECT_EQ(others.z.numbers, 0u);
}

TEST(SummaryCollector, NothingIsCountedTogetherWithinTheLimit) {
    const ConversionSummary summary =
        summaryOf(3, {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"A", "4"}});
    EXPECT_EQ(summary.codes.size(), 3u);
    EXPECT_EQ(summary.otherCodes.points, 0u);
}

TEST(SummaryCollector, DefaultLimitIsTheSummarysBound) {
    SummaryCollector collector;
    for (std::size_t i = 0; i < velkaro::kMaxSummaryCodes + 5; ++i) {
        collector.addPoint(pointWith("C" + std::to_string(i), "1"));
    }
    const ConversionSummary summary = collector.summary(0, 0);
    EXPECT_EQ(summary.codes.size(), velkaro::kMaxSummaryCodes);
    EXPECT_EQ(summary.otherCodes.points, 5u);
}

} // namespace
