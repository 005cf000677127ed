#include "target_formats.h"

#include "convert_bytes.h"
#include "outcome_printer.h"
#include "output_stream.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using velkaro::OutputStream;
using velkaro::PointRecord;

// What a writer puts into a real file, read back byte for byte.
std::string written(const std::function<void(OutputStream &)> &write) {
    const velkaro::test::TempDir dir;
    const std::string path = dir.file("out");
    std::FILE *file = std::fopen(path.c_str(), "wb");
    {
        OutputStream out(file);
        write(out);
        out.flush();
        EXPECT_TRUE(out.ok());
    }
    std::fclose(file);
    return velkaro::test::readBytes(path);
}

const PointRecord kP1{"P1", "K1", "10.5", "20.5", "3.0"};

TEST(TargetFormats, CassLinePutsYBeforeXAndLeavesColumnTwoEmpty) {
    EXPECT_EQ(written([](OutputStream &out) { writeCassLine(out, kP1); }), "K1,,20.5,10.5,3.0\r\n");
}

TEST(TargetFormats, KaisiLineKeepsSourceOrder) {
    EXPECT_EQ(written([](OutputStream &out) { writeKaisiLine(out, kP1); }),
              "P1,K1,10.5,20.5,3.0\r\n");
}

TEST(TargetFormats, DxfOfOneRecordIsEighteenLines) {
    const std::string dxf = written([](OutputStream &out) {
        writeDxfHeader(out);
        writeDxfPoint(out, kP1);
        writeDxfFooter(out);
    });
    EXPECT_EQ(dxf, "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
                   "  0\r\nPOINT\r\n8\r\nK1\r\n 10\r\n10.500000\r\n 20\r\n20.500000\r\n 30\r\n"
                   "3.000000\r\n"
                   "  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

struct WriterRow {
    PointRecord record;
    std::string cass;
    std::string kaisi;
    std::string dxfPoint;
};

class WritersTest : public ::testing::TestWithParam<WriterRow> {};

TEST_P(WritersTest, WriteTheRecord) {
    const WriterRow &row = GetParam();
    EXPECT_EQ(written([&](OutputStream &out) { writeCassLine(out, row.record); }), row.cass);
    EXPECT_EQ(written([&](OutputStream &out) { writeKaisiLine(out, row.record); }), row.kaisi);
    EXPECT_EQ(written([&](OutputStream &out) { writeDxfPoint(out, row.record); }),
              "  0\r\nPOINT\r\n8\r\n" + row.dxfPoint);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WritersTest,
    ::testing::Values(
        // text values are copied verbatim; the DXF writer reads numbers by atof's rules
        WriterRow{{"P1", "K1", "1", "2", "abc"},
                  "K1,,2,1,abc\r\n",
                  "P1,K1,1,2,abc\r\n",
                  "K1\r\n 10\r\n1.000000\r\n 20\r\n2.000000\r\n 30\r\n0.000000\r\n"},
        WriterRow{{"P1", "K1", " 12.5m", "-3", "-"},
                  "K1,,-3, 12.5m,-\r\n",
                  "P1,K1, 12.5m,-3,-\r\n",
                  "K1\r\n 10\r\n12.500000\r\n 20\r\n-3.000000\r\n 30\r\n0.000000\r\n"},
        WriterRow{{"", "", "", "", ""},
                  ",,,,\r\n",
                  ",,,,\r\n",
                  "\r\n 10\r\n0.000000\r\n 20\r\n0.000000\r\n 30\r\n0.000000\r\n"},
        WriterRow{{"%s%n", "50%", "1e999", "-0", "1.5d2"},
                  "50%,,-0,1e999,1.5d2\r\n",
                  "%s%n,50%,1e999,-0,1.5d2\r\n",
                  "50%\r\n 10\r\n1.#INF00\r\n 20\r\n-0.000000\r\n 30\r\n150.000000\r\n"},
        // a lone CR in a value stays a lone CR: only line feeds become CR LF
        WriterRow{{"P\r1", "K", "1", "2", "3\r"},
                  "K,,2,1,3\r\r\n",
                  "P\r1,K,1,2,3\r\r\n",
                  "K\r\n 10\r\n1.000000\r\n 20\r\n2.000000\r\n 30\r\n3.000000\r\n"}));

// The golden files hold the three outputs of a realistic export with the awkward cases mixed in;
// they were checked by hand and guard every writer against any change of bytes.
struct GoldenRow {
    velkaro::TargetFormat itemText;
    const char *golden;
};

class GoldenTest : public ::testing::TestWithParam<GoldenRow> {};

TEST_P(GoldenTest, SampleExportGivesTheGoldenBytes) {
    const std::string source =
        velkaro::test::readBytes(velkaro::test::goldenPath("golden/sample.txt"));
    const std::string expected =
        velkaro::test::readBytes(velkaro::test::goldenPath(GetParam().golden));
    EXPECT_EQ(velkaro::test::convertBytes(source, GetParam().itemText), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GoldenTest,
    ::testing::Values(GoldenRow{velkaro::TargetFormat::Cass, "golden/sampleCass.dat"},
                      GoldenRow{velkaro::TargetFormat::Kaisi, "golden/sampleKaisi.txt"},
                      GoldenRow{velkaro::TargetFormat::Cad, "golden/sampleCAD.dxf"}));

TEST(OutputStream, WriteToAFullDeviceIsReported) {
    std::FILE *full = std::fopen("/dev/full", "wb");
    if (!full) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    OutputStream out(full);
    for (int i = 0; i < 1000; ++i) {
        writeCassLine(out, kP1);
    }
    out.flush();
    EXPECT_FALSE(out.ok());
    std::fclose(full);
}

TEST(TargetFormats, ConversionThatTakesNoLineWritesOpenerAndCloserOnly) {
    EXPECT_EQ(velkaro::test::convertBytes("short\n", velkaro::TargetFormat::Cad),
              "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    EXPECT_EQ(velkaro::test::convertBytes("short\n", velkaro::TargetFormat::Cass), "");
    EXPECT_EQ(velkaro::test::convertBytes("short\n", velkaro::TargetFormat::Kaisi), "");
}

} // namespace

namespace {

TEST(OutputStream, LineFeedAnywhereInAValueOfAnyLengthBecomesCrLf) {
    // Values are checked a word at a time; a line feed in any byte of any length must be seen.
    for (std::size_t size = 1; size <= 20; ++size) {
        for (std::size_t at = 0; at < size; ++at) {
            std::string value(size, 'v');
            value[at] = '\n';
            std::string expected = value;
            expected.replace(at, 1, "\r\n");
            EXPECT_EQ(written([&](OutputStream &out) { out.write(value); }), expected)
                << "size " << size << ", line feed at " << at;
        }
    }
}

} // namespace
