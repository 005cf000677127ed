// Generated exports of a few thousand points against golden outputs written, and checked
// against an independent decimal reference, before the reader, writers and number rules were
// tuned for speed: any fast path must give the same bytes.

#include "convert_bytes.h"
#include "outcome_printer.h"
#include "rtk_generator.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using velkaro::bench::NumberMix;
using velkaro::test::goldenPath;
using velkaro::test::readBytes;

struct GeneratedRow {
    const char *name;
    std::uint64_t seed;
    NumberMix mix;
};

class GeneratedExportTest : public ::testing::TestWithParam<GeneratedRow> {};

TEST_P(GeneratedExportTest, GeneratorIsDeterministic) {
    const velkaro::test::TempDir dir;
    const std::string path = dir.file("generated.txt");
    ASSERT_TRUE(velkaro::bench::generateRtkExport(path, 2000, GetParam().seed, GetParam().mix));
    EXPECT_EQ(readBytes(path),
              readBytes(goldenPath(std::string("golden/generated/") + GetParam().name + ".txt")));
}

TEST_P(GeneratedExportTest, EveryFormatGivesTheGoldenBytes) {
    const std::string stem = std::string("golden/generated/") + GetParam().name;
    const std::string source = readBytes(goldenPath(stem + ".txt"));
    EXPECT_EQ(velkaro::test::convertBytes(source, velkaro::TargetFormat::Cass),
              readBytes(goldenPath(stem + "Cass.dat")));
    EXPECT_EQ(velkaro::test::convertBytes(source, velkaro::TargetFormat::Kaisi),
              readBytes(goldenPath(stem + "Kaisi.txt")));
    EXPECT_EQ(velkaro::test::convertBytes(source, velkaro::TargetFormat::Cad),
              readBytes(goldenPath(stem + "CAD.dxf")));
}

INSTANTIATE_TEST_SUITE_P(Files, GeneratedExportTest,
                         ::testing::Values(GeneratedRow{"unusual", 6, NumberMix::Unusual},
                                           GeneratedRow{"realistic", 7, NumberMix::Realistic}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
