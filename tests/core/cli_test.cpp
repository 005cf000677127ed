// velkaro-convert end to end: the real executable, real files, exit codes and messages.

#include "hostile_support.h"
#include "test_files.h"
#include "velkaro_version.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using velkaro::test::listFolder;
using velkaro::test::readBytes;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;

const std::string kSource = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,11,21,4\r\n";

using velkaro::test::ProgramRun;

// Runs velkaro-convert with the arguments inside folder.
ProgramRun convert(const TempDir &dir, const std::vector<std::string> &arguments,
                   const std::string &prefix = {}) {
    return velkaro::test::runConverter(dir.path(), arguments, prefix);
}

TEST(VelkaroConvert, AllWritesThreeFilesBesideTheSource) {
    TempDir dir;
    fs::create_directory(dir.path() / "data");
    writeBytes(dir.file("data/pts.txt"), kSource);
    const ProgramRun run = convert(dir, {"-f", "all", "data/pts.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "data/pts.txt -> data/ptsCass.dat (2 点)\n"
                       "data/pts.txt -> data/ptsKaisi.txt (2 点)\n"
                       "data/pts.txt -> data/ptsCAD.dxf (2 点)\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listFolder(dir.path() / "data"), "pts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
    EXPECT_EQ(readBytes(dir.file("data/ptsCass.dat")), "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
}

struct FormatRow {
    std::string argument;
    std::string output;
};

class FormatArgumentTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatArgumentTest, NamesOneFormat) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    const ProgramRun run = convert(dir, {"-f", GetParam().argument, "pts.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n" + GetParam().output + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatArgumentTest,
    ::testing::Values(FormatRow{"cass", "ptsCass.dat"}, FormatRow{"KAISI", "ptsKaisi.txt"},
                      FormatRow{"Cad", "ptsCAD.dxf"}, FormatRow{"CASS6.0格式", "ptsCass.dat"},
                      FormatRow{"开思格式", "ptsKaisi.txt"}, FormatRow{"CAD格式", "ptsCAD.dxf"}));

TEST(VelkaroConvert, OutputFolderOptionAndWorkingDirectoryUnchanged) {
    TempDir dir;
    fs::create_directory(dir.path() / "out");
    writeBytes(dir.file("pts.txt"), kSource);
    const ProgramRun run = convert(dir, {"--format=cad", "-o", "out", "pts.txt"}, "");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "pts.txt -> out/ptsCAD.dxf (2 点)\n");
    EXPECT_EQ(listFolder(dir.path() / "out"), "ptsCAD.dxf\n");
    EXPECT_EQ(listFolder(dir.path()), "out\npts.txt\n");
}

TEST(VelkaroConvert, FailureIsReportedAndLaterSourcesStillConvert) {
    TempDir dir;
    writeBytes(dir.file("b.txt"), kSource);
    const ProgramRun run = convert(dir, {"-f", "kaisi", "missing.txt", "b.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkaro-convert: missing.txt: 打开源文件错误，请重新选择!\n");
    EXPECT_EQ(run.out, "b.txt -> bKaisi.txt (2 点)\n");
}

TEST(VelkaroConvert, OutputCreateFailureNamesTheFile) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    fs::create_directory(dir.path() / "ptsCass.dat");
    const ProgramRun run = convert(dir, {"-f", "cass", "pts.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkaro-convert: pts.txt: 创建转换文件错误:ptsCass.dat\n");
}

TEST(VelkaroConvert, FullDiskIsAWriteFailureAndTheEarlierOutputSurvives) {
    TempDir dir;
    std::string big;
    for (int i = 0; i < 5000; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\n";
    }
    writeBytes(dir.file("pts.txt"), big);
    writeBytes(dir.file("ptsCAD.dxf"), "earlier");
    // The shell ignores SIGXFSZ and limits file sizes (in 512-byte blocks) for the converter.
    const ProgramRun run = convert(dir, {"-f", "cad", "pts.txt"}, "trap '' XFSZ; ulimit -f 600; ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkaro-convert: pts.txt: 写入转换文件错误:ptsCAD.dxf\n");
    EXPECT_EQ(readBytes(dir.file("ptsCAD.dxf")), "earlier");
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\nptsCAD.dxf\n");
}

TEST(VelkaroConvert, WarnsOncePerSourceWhenReadingStoppedAtAShortLine) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource + "\r\n" + kSource);
    const ProgramRun run = convert(dir, {"-f", "all", "pts.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("pts.txt -> ptsCass.dat (2 点)\n"), std::string::npos);
    const std::string warning = "pts.txt 第 3 行不足 10 字节";
    const std::size_t at = run.err.find(warning);
    EXPECT_NE(at, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(warning, at + 1), std::string::npos) << run.err;
}

// Twelve lines without coordinates: the first ten by number, then the count, once per source;
// the outputs are still written as the old tool wrote them.
TEST(VelkaroConvert, WarnsAboutLinesWithoutCoordinatesTenThenTheCount) {
    TempDir dir;
    std::string junk = "序号,解状态,点名,编码,X,Y,H\r\n";
    for (int i = 0; i < 11; ++i) {
        junk += "1,2,P,K,east,north,up\r\n";
    }
    writeBytes(dir.file("pts.txt"), junk + kSource);
    const ProgramRun run = convert(dir, {"-f", "all", "pts.txt"});
    EXPECT_EQ(run.status, 0);
    std::string expected;
    for (int line = 1; line <= 10; ++line) {
        expected +=
            "velkaro-convert: 警告: pts.txt 第 " + std::to_string(line) + " 行没有坐标数值\n";
    }
    expected += "velkaro-convert: 警告: pts.txt 共 12 行没有坐标数值\n";
    EXPECT_EQ(run.err, expected);
    EXPECT_NE(run.out.find("pts.txt -> ptsKaisi.txt (14 点)\n"), std::string::npos);
}

struct UsageRow {
    std::vector<std::string> arguments;
    std::string firstLine;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageRow> {};

TEST_P(UsageErrorTest, ExitsWithTwoAndPrintsUsage) {
    TempDir dir;
    const ProgramRun run = convert(dir, GetParam().arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().firstLine);
    EXPECT_NE(run.err.find("usage: velkaro-convert -f FORMAT [-o DIR] SOURCE..."),
              std::string::npos);
    EXPECT_EQ(listFolder(dir.path()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UsageErrorTest,
    ::testing::Values(
        UsageRow{{}, "velkaro-convert: 请用 -f 选择转换格式"},
        UsageRow{{"pts.txt"}, "velkaro-convert: 请用 -f 选择转换格式"},
        UsageRow{{"-f", "dwg", "pts.txt"}, "velkaro-convert: 未知格式: dwg"},
        UsageRow{{"-f", "cass"}, "velkaro-convert: 请给出源文件"},
        UsageRow{{"-f"}, "velkaro-convert: 选项 -f 缺少格式"},
        UsageRow{{"-f", "cass", "-o"}, "velkaro-convert: 选项 -o 缺少输出文件夹"},
        UsageRow{{"-x", "pts.txt"}, "velkaro-convert: 未知选项: -x"},
        UsageRow{{"-f", "cass", "-f", "cad", "pts.txt"},
                 "velkaro-convert: 选项 -f 只能给一次 (全部格式请用 -f all)"},
        UsageRow{{"-f", "cad", "--dxf-codepage=65001", "pts.txt"},
                 "velkaro-convert: 未知代码页: 65001"},
        UsageRow{{"-f", "cad", "--dxf-axes", "ne", "pts.txt"}, "velkaro-convert: 未知坐标轴: ne"},
        UsageRow{{"--format=", "pts.txt"}, "velkaro-convert: 未知格式: "},
        UsageRow{{"-f", "cad", "--dxf-codepage=", "pts.txt"}, "velkaro-convert: 未知代码页: "},
        UsageRow{{"-f", "cad", "--dxf-axes"}, "velkaro-convert: 选项 --dxf-axes 缺少 xy 或 en"},
        UsageRow{{"-f", "cad", "--label-height=0", "pts.txt"}, "velkaro-convert: 文字高度无效: 0"},
        UsageRow{{"-f", "cad", "--label-decimals", "7", "pts.txt"},
                 "velkaro-convert: 小数位数无效: 7"},
        UsageRow{{"-f", "cass", "--cass-columns=names", "pts.txt"},
                 "velkaro-convert: 未知 CASS 列: names"}));

// The summary, as text and as JSON: a header row left out, a GBK code (escaped byte by byte in
// JSON, so that the exact bytes come back), and --dxf-codepage alone meaning 936.
TEST(VelkaroConvert, SummaryAsTextAndAsJson) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), "no,fix,name,code,X,Y,H\r\n1,2,P3,\xbf\xd8,-1,2e3,5\r\n");
    const ProgramRun text = convert(dir, {"-f", "cass", "--skip-junk", "--summary", "pts.txt"});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "pts.txt -> ptsCass.dat (1 点)\n"
                        "  行: 读取 2, 取用 2, 略去 1, 读到文件末尾\n"
                        "  编码 \xbf\xd8: 1 点, x -1.000000 ~ -1.000000, y 2000.000000 ~ "
                        "2000.000000, z 5.000000 ~ 5.000000\n");
    EXPECT_EQ(text.err, "velkaro-convert: 警告: pts.txt 第 1 行没有坐标数值，已略去\n");
    const ProgramRun json = convert(dir, {"--json", "-fcad", "--dxf-codepage", "pts.txt"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "{\"source\":\"pts.txt\",\"format\":\"cad\",\"status\":\"converted\","
                        "\"output\":\"ptsCAD.dxf\",\"points\":2,\"linesRead\":2,\"linesTaken\":2,"
                        "\"linesLeftOut\":0,\"firstLinesLeftOut\":[],\"stoppedAtLine\":null,"
                        "\"linesNotConverted\":0,\"linesWithoutCoordinates\":1,"
                        "\"firstLinesWithoutCoordinates\":[1],\"codes\":["
                        "{\"code\":\"code\",\"points\":1,\"x\":null,\"y\":null,\"z\":null},"
                        "{\"code\":\"\\udcbf\\udcd8\",\"points\":1,\"x\":{\"min\":-1.000000,"
                        "\"max\":-1.000000},\"y\":{\"min\":2000.000000,\"max\":2000.000000},"
                        "\"z\":{\"min\":5.000000,\"max\":5.000000}}]}\n");
    EXPECT_TRUE(
        readBytes(dir.file("ptsCAD.dxf")).starts_with("  0\r\nSECTION\r\n  2\r\nHEADER\r\n"));
}

TEST(VelkaroConvert, HelpAndVersion) {
    TempDir dir;
    const ProgramRun version = convert(dir, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, VELKARO_VERSION "\n");
    const ProgramRun help = convert(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-f, --format FORMAT"), std::string::npos);
}

TEST(VelkaroConvert, DoubleDashAllowsSourcesThatLookLikeOptions) {
    TempDir dir;
    writeBytes(dir.file("-pts.txt"), kSource);
    const ProgramRun run = convert(dir, {"-f", "cass", "--", "-pts.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(listFolder(dir.path()), "-pts.txt\n-ptsCass.dat\n");
}

} // namespace
#endif
