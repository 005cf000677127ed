// The conversion options through runConversion: each against its golden output (checked
// independently by tests/dxf/check_options.py), the summary, and options out of range.

#include "conversion_run.h"

#include "convert_bytes.h"
#include "outcome_printer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using velkaro::CassColumns;
using velkaro::ConversionOptions;
using velkaro::ConversionOutcome;
using velkaro::DxfAxes;
using velkaro::DxfLabels;
using velkaro::test::goldenPath;
using velkaro::test::readBytes;

struct GoldenRow {
    const char *golden;
    velkaro::TargetFormat format;
    ConversionOptions options;
};

class OptionGoldenTest : public ::testing::TestWithParam<GoldenRow> {};

TEST_P(OptionGoldenTest, WritesTheGoldenBytes) {
    const std::string source = readBytes(goldenPath("golden/sample.txt"));
    EXPECT_EQ(velkaro::test::convertBytes(source, GetParam().format, GetParam().options),
              readBytes(goldenPath(std::string("golden/options/") + GetParam().golden)));
}

ConversionOptions everything() {
    ConversionOptions options;
    options.dxfCodePage = 950;
    options.dxfAxes = DxfAxes::En;
    options.dxfLabels = DxfLabels{2.5, 0};
    options.leaveOutLinesWithoutCoordinates = true;
    return options;
}

ConversionOptions with(void (*set)(ConversionOptions &)) {
    ConversionOptions options;
    set(options);
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionGoldenTest,
    ::testing::Values(
        GoldenRow{"sampleCAD-codepage936.dxf", velkaro::TargetFormat::Cad,
                  with([](ConversionOptions &o) { o.dxfCodePage = 936; })},
        GoldenRow{"sampleCAD-en.dxf", velkaro::TargetFormat::Cad,
                  with([](ConversionOptions &o) { o.dxfAxes = DxfAxes::En; })},
        GoldenRow{"sampleCAD-labels.dxf", velkaro::TargetFormat::Cad,
                  with([](ConversionOptions &o) { o.dxfLabels = DxfLabels{}; })},
        GoldenRow{"sampleCAD-everything.dxf", velkaro::TargetFormat::Cad, everything()},
        GoldenRow{"sampleCass-name.dat", velkaro::TargetFormat::Cass,
                  with([](ConversionOptions &o) { o.cassColumns = CassColumns::Name; })},
        GoldenRow{"sampleCass-name-skip.dat", velkaro::TargetFormat::Cass,
                  [] {
                      ConversionOptions o = everything();
                      o.cassColumns = CassColumns::Name;
                      return o;
                  }()},
        // options of other formats change nothing
        GoldenRow{"sampleKaisi-skip.txt", velkaro::TargetFormat::Kaisi, everything()},
        GoldenRow{"../sampleCass.dat", velkaro::TargetFormat::Cass, [] {
                      ConversionOptions o = everything();
                      o.leaveOutLinesWithoutCoordinates = false;
                      o.summary = true;
                      return o;
                  }()}));

// A header row, two codes, a point whose z holds no number, a junk row, and an early stop.
TEST(ConversionSummary, CountsLinesAndGivesEachCodesExtent) {
    const velkaro::test::TempDir dir;
    velkaro::ConversionRequest request;
    request.sourcePath = dir.file("pts.txt");
    request.sourceFileName = "pts.txt";
    request.format = velkaro::TargetFormat::Cass;
    request.outputFolder = dir.folder();
    request.options.summary = true;
    request.options.leaveOutLinesWithoutCoordinates = true;
    velkaro::test::writeBytes(request.sourcePath, "no,fix,name,code,X,Y,H\r\n"
                                                  "1,2,P1,KZD,10.5,-20.5,3\r\n"
                                                  "1,2,P2,NULL,11,21,up\r\n"
                                                  "1,2,P3,KZD,9.25,20,1e999\r\n"
                                                  "1,2,P4,KZD,east,north,up\r\n"
                                                  "end\r\n"
                                                  "1,2,P5,KZD,1,2,3\r\n");
    const ConversionOutcome outcome = velkaro::runConversion(request);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Converted) << outcome;
    ASSERT_TRUE(outcome.summary.has_value());
    EXPECT_EQ(outcome.summary->linesRead, 6U);
    EXPECT_EQ(outcome.summary->linesTaken, 5U);
    EXPECT_EQ(outcome.reading.leftOut.count, 2U);
    EXPECT_EQ(outcome.reading.leftOut.first, (std::vector<std::uint64_t>{1, 5}));
    EXPECT_EQ(outcome.reading.withoutCoordinates.count,
              1U); // P2's z; left-out lines are not counted
    EXPECT_EQ(outcome.reading.stoppedAtLine, 6U);
    ASSERT_EQ(outcome.summary->codes.size(), 2U);
    const velkaro::CodeSummary &kzd = outcome.summary->codes[0];
    EXPECT_EQ(kzd.code, "KZD");
    EXPECT_EQ(kzd.points, 2U);
    EXPECT_EQ(kzd.x.min, 9.25);
    EXPECT_EQ(kzd.x.max, 10.5);
    EXPECT_EQ(kzd.y.min, -20.5);
    EXPECT_EQ(kzd.y.max, 20);
    EXPECT_EQ(kzd.z.max, std::numeric_limits<double>::infinity());
    const velkaro::CodeSummary &p2 = outcome.summary->codes[1];
    EXPECT_EQ(p2.code, "P2");
    EXPECT_EQ(p2.points, 1U);
    EXPECT_EQ(p2.z.numbers, 0U);
    EXPECT_EQ(readBytes(outcome.outputPath),
              "KZD,,-20.5,10.5,3\r\nP2,,21,11,up\r\nKZD,,20,9.25,1e999\r\n");
}

// A lone CR in a name would end the label's line for readers that take CR as a line end, and
// shift every group after it; the layer keeps its bytes, as the old tool wrote them.
TEST(DxfLabels, CarriageReturnInANameBecomesASpaceInItsLabel) {
    ConversionOptions options;
    options.dxfLabels = DxfLabels{2.0, 1};
    EXPECT_EQ(velkaro::test::convertBytes("1,2,P\r1,K\r1,-1,2,0.25\n", velkaro::TargetFormat::Cad,
                                          options),
              "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
              "  0\r\nPOINT\r\n8\r\nK\r1\r\n 10\r\n-1.000000\r\n 20\r\n2.000000\r\n"
              " 30\r\n0.250000\r\n"
              "  0\r\nTEXT\r\n  8\r\nZDH\r\n 10\r\n0.000000\r\n 20\r\n3.000000\r\n"
              " 30\r\n0.250000\r\n 40\r\n2.000000\r\n  1\r\nP 1\r\n"
              "  0\r\nTEXT\r\n  8\r\nGCD\r\n 10\r\n0.000000\r\n 20\r\n-1.000000\r\n"
              " 30\r\n0.250000\r\n 40\r\n2.000000\r\n  1\r\n0.3\r\n"
              "  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

class InvalidOptionsTest : public ::testing::TestWithParam<ConversionOptions> {};

TEST_P(InvalidOptionsTest, AreRefusedBeforeAnyFileIsTouched) {
    const velkaro::test::TempDir dir;
    velkaro::ConversionRequest request;
    request.sourcePath = dir.file("missing.txt");
    request.sourceFileName = "missing.txt";
    request.format = velkaro::TargetFormat::Cad;
    request.outputFolder = dir.folder();
    request.options = GetParam();
    const ConversionOutcome outcome = velkaro::runConversion(request);
    EXPECT_EQ(outcome.kind, ConversionOutcome::Kind::InvalidOptions);
    EXPECT_EQ(velkaro::test::listFolder(dir.path()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InvalidOptionsTest,
    ::testing::Values(with([](ConversionOptions &o) { o.dxfCodePage = 65001; }),
                      with([](ConversionOptions &o) { o.dxfCodePage = 0; }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{0.0, 3};
                      }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{std::nan(""), 3};
                      }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{std::numeric_limits<double>::infinity(), 3};
                      }),
                      // Heights printed as 0.000000, or whose labels reach infinity.
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{0.0000004, 3};
                      }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{1.7e308, 3};
                      }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{1.0, 7};
                      }),
                      with([](ConversionOptions &o) {
                          o.dxfLabels = DxfLabels{1.0, -1};
                      })));

} // namespace
