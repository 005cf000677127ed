#include "point_record.h"

#include "convert_bytes.h"
#include "line_cutter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using velkaro::PointRecord;

// The line as the reader hands it out (text up to a zero byte, without its line feed, with
// slack after it), cut by a cutter that saw the lines before.
void applyLine(std::string_view line, velkaro::LineCutter &cutter, std::string &storage) {
    storage.assign(line);
    const std::size_t zero = storage.find('\0');
    const bool lineFeed = zero == std::string::npos && !line.empty() && line.back() == '\n';
    const std::size_t text = zero != std::string::npos ? zero : line.size() - (lineFeed ? 1 : 0);
    storage.resize(line.size() + velkaro::kLineScanSlack, 'x');
    cutter.apply(velkaro::SourceLine{std::string_view(storage.data(), text), lineFeed});
}

struct FieldRow {
    std::string_view line;
    PointRecord expected;
};

class ApplyLineToRecordTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(ApplyLineToRecordTest, TakesFieldsTwoToSix) {
    velkaro::LineCutter cutter;
    std::string storage;
    applyLine(GetParam().line, cutter, storage);
    const PointRecord &record = cutter.record();
    const PointRecord &expected = GetParam().expected;
    EXPECT_EQ(record.pointName, expected.pointName);
    EXPECT_EQ(record.pointCode, expected.pointCode);
    EXPECT_EQ(record.x, expected.x);
    EXPECT_EQ(record.y, expected.y);
    EXPECT_EQ(record.z, expected.z);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Rows, ApplyLineToRecordTest,
    ::testing::Values(
        FieldRow{"1,2,P1,K1,10.5,20.5,3.0\n", {"P1", "K1", "10.5", "20.5", "3.0"}},
        FieldRow{"1,2,P1,NULL,10.5,20.5,3.0\n", {"P1", "P1", "10.5", "20.5", "3.0"}},
        FieldRow{"1,2,P1,null,10.5,20.5,3.0\n", {"P1", "null", "10.5", "20.5", "3.0"}},
        FieldRow{"1,2,P1,NULLX,1,2,3\n", {"P1", "NULLX", "1", "2", "3"}},
        // an empty field does not count: the later fields move down by one
        FieldRow{"1,2,,K1,10.5,20.5,3.0\n", {"K1", "10.5", "20.5", "3.0", ""}},
        FieldRow{"1\t2\tP1\tK1\t10.5\t20.5\t3.0\n", {"P1", "K1", "10.5", "20.5", "3.0"}},
        FieldRow{"1,2\tP1\t,K1,10.5\t20.5,3.0\n", {"P1", "K1", "10.5", "20.5", "3.0"}},
        FieldRow{",,\t1,2,P1,K1,1,2,3\n", {"P1", "K1", "1", "2", "3"}},
        FieldRow{"1,2,P 1,K1, 10.5 ,20.5m,3.0\n", {"P 1", "K1", " 10.5 ", "20.5m", "3.0"}},
        FieldRow{"1,2,P1,K1,10.5,20.5,3.0,9,9,9\n", {"P1", "K1", "10.5", "20.5", "3.0"}},
        FieldRow{",,,,,,,,,\n", {"", "", "", "", ""}},
        FieldRow{"1,2,P1,K1,1,2,3\r", {"P1", "K1", "1", "2", "3\r"}},
        FieldRow{"1,2,P1,50%,1,2,3\n", {"P1", "50%", "1", "2", "3"}},
        // control bytes other than tab and line feed are ordinary bytes of a field
        FieldRow{"1,2,A\x01"
                 "B\x08"
                 "C\x05"
                 "DEFGHIJ\x03,K\x0b"
                 "1,\x07"
                 "1,2,3\x02\n",
                 {"A\x01"
                  "B\x08"
                  "C\x05"
                  "DEFGHIJ\x03",
                  "K\x0b"
                  "1",
                  "\x07"
                  "1",
                  "2", "3\x02"}},
        FieldRow{"\x01\x01\x01\x01\x01\x01\x01\x01\x01,2,P1,K1,1,2,3\n",
                 {"P1", "K1", "1", "2", "3"}},
        // a zero byte ends the text: what follows it on the line is never cut
        FieldRow{"1,2,P1,K1\0,10.5,20.5,3.0\n"sv, {"P1", "K1", "", "", ""}}));

TEST(ApplyLineToRecord, LineWithFewerFieldsKeepsEarlierValues) {
    velkaro::LineCutter cutter;
    std::string first;
    std::string second;
    applyLine("1,2,P1,K1,10.5,20.5,3.0\n", cutter, first);
    applyLine("1,2,P2,K2,7\n", cutter, second);
    first.assign(first.size(), '#'); // the reader has moved on: the kept values are the cutter's
    const PointRecord &record = cutter.record();
    EXPECT_EQ(record.pointName, "P2");
    EXPECT_EQ(record.pointCode, "K2");
    EXPECT_EQ(record.x, "7");
    EXPECT_EQ(record.y, "20.5");
    EXPECT_EQ(record.z, "3.0");
}

// Reading rules, seen through the 开思 writer, which writes all five values in source order.
struct ReadingRow {
    const char *name;
    std::string source;
    std::string expected;
};

class ReadSourceLineTest : public ::testing::TestWithParam<ReadingRow> {};

TEST_P(ReadSourceLineTest, TakesLinesByTheTextModeAndLengthRules) {
    EXPECT_EQ(velkaro::test::convertBytes(GetParam().source, velkaro::TargetFormat::Kaisi),
              GetParam().expected);
}

std::string testName(const ::testing::TestParamInfo<ReadingRow> &info) {
    return info.param.name;
}

const std::string kLine = "1,2,P1,K1,10.5,20.5,3.0"; // 23 bytes
const std::string kOut = "P1,K1,10.5,20.5,3.0\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadSourceLineTest,
    ::testing::Values(
        ReadingRow{"LfLines", kLine + "\n1,2,P2,K2,1,2,3\n", kOut + "P2,K2,1,2,3\r\n"},
        ReadingRow{"CrLfLines", kLine + "\r\n1,2,P2,K2,1,2,3\r\n", kOut + "P2,K2,1,2,3\r\n"},
        ReadingRow{"LastLineWithoutLineFeed", kLine + "\n1,2,P2,K2,1,2,3",
                   kOut + "P2,K2,1,2,3\r\n"},
        ReadingRow{"EmptyFile", "", ""},
        ReadingRow{"TenByteLineIsTaken", "1,2,A,B,C\n", "A,B,C,,\r\n"},
        ReadingRow{"NineByteLineEndsReading", "1,2,A,B,\n" + kLine + "\n", ""},
        ReadingRow{"EmptyLineEndsReading", kLine + "\n\n" + kLine + "\n", kOut},
        ReadingRow{"CrLfCountsOneByte", kLine + "\r\n12345678\r\n" + kLine + "\r\n", kOut},
        ReadingRow{"LoneCrIsAnOrdinaryByte", "1,2,P1,K1,1,2\r3\n", "P1,K1,1,2\r3,\r\n"},
        ReadingRow{"OnlyCrBytes", std::string(12, '\r'), ",,,,\r\n"},
        ReadingRow{"CtrlZAfterThirdLine",
                   kLine + "\n" + kLine + "\n" + kLine + "\n\x1a" + kLine + "\n",
                   kOut + kOut + kOut},
        ReadingRow{"CtrlZInsideALine", kLine + "\n1,2,P2,K2,1,2,3\x1a,9\n",
                   kOut + "P2,K2,1,2,3\r\n"},
        ReadingRow{"CrBeforeCtrlZStays", "1,2,P1,K1,1,2,3\r\x1a", "P1,K1,1,2,3\r\r\n"},
        ReadingRow{"DelimiterOnlyLineRewritesRecord", kLine + "\n,,,,,,,,,\n", kOut + kOut},
        // 260 bytes: 255 are taken as one line, the 5 left over end the reading
        ReadingRow{"LongLineIsTakenInPieces",
                   "1,2,P1,K1,1,2," + std::string(245, '9') + "\n" + kLine + "\n",
                   "P1,K1,1,2," + std::string(241, '9') + "\r\n"},
        ReadingRow{"CrLfAtThe255thByteIsOneByte",
                   "1,2,P1,K1,1,2," + std::string(240, '9') + "\r\n" + kLine + "\n",
                   "P1,K1,1,2," + std::string(240, '9') + "\r\n" + kOut}),
    testName);

TEST(ReadSourceLine, CrLfAcrossTheReadBufferBoundaryIsOneLineFeed) {
    // A first line of 17 bytes, then lines of 16 bytes and CR LF: the CR of line 3640 is the
    // last byte of the first 64 KiB read and its LF the first byte of the next.
    const std::string line = "1,2,P,K,1,2,3456";
    std::string crLf = line + "\n";
    std::string lf = crLf;
    for (int i = 0; i < 5000; ++i) {
        crLf += line + "\r\n";
        lf += line + "\n";
    }
    ASSERT_EQ(crLf[17 + 18 * 3639 + 16], '\r');
    ASSERT_EQ(17 + 18 * 3639 + 16, 65535);
    const std::string converted = velkaro::test::convertBytes(crLf, velkaro::TargetFormat::Kaisi);
    EXPECT_EQ(converted, velkaro::test::convertBytes(lf, velkaro::TargetFormat::Kaisi));
    EXPECT_EQ(converted.size(), 5001 * std::string("P,K,1,2,3456\r\n").size());
}

} // namespace
