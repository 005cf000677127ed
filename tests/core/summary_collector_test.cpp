// The summary's storage: the first distinct codes each get an entry, later ones are counted
// together, whatever the file.

#include "point_record.h"
#include "summary_collector.h"

#include <gtest/gtest.h>

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

} // namespace
