#include "output_time.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using velkaro::gis::isoTimestamp;
using velkaro::gis::outputTime;

std::chrono::sys_seconds at(long long seconds) {
    return std::chrono::sys_seconds(std::chrono::seconds(seconds));
}

TEST(OutputTime, IsoTimestampsAndSourceDateEpoch) {
    EXPECT_EQ(isoTimestamp(at(0)), "1970-01-01T00:00:00.000Z");
    EXPECT_EQ(isoTimestamp(at(951825599)), "2000-02-29T11:59:59.000Z");
    EXPECT_EQ(isoTimestamp(at(1796688000)), "2026-12-08T00:00:00.000Z");

    ::setenv("SOURCE_DATE_EPOCH", "951825599", 1);
    EXPECT_EQ(outputTime(), at(951825599));
    // Anything but a plain count of seconds is no epoch: the time is now.
    for (const char *unusable : {"", "12x", "-5", "1e9"}) {
        ::setenv("SOURCE_DATE_EPOCH", unusable, 1);
        EXPECT_GT(outputTime(), at(1700000000)) << unusable;
    }
    ::unsetenv("SOURCE_DATE_EPOCH");
}

} // namespace
