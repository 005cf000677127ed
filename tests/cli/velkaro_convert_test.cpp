// velkaro-convert end to end: the real executable, real files, exit codes and messages.

#include "hostile_support.h"
#include "outcome_printer.h"
#include "test_files.h"
#include "velkaro_version.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using velkaro::test::listFolder;
using velkaro::test::readBytes;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;

using velkaro::test::kSource;

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

// What the system calls of a run did, in order, from strace's record: a file flushed (F), the
// folder flushed (D), a name moved into place (M, however many calls), a line written to standard
// output (R).
[[nodiscard]] std::string syncSteps(const std::string &trace, const std::string &folder) {
    std::string steps;
    std::istringstream lines(readBytes(trace));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("fsync(", 0) == 0) {
            steps += line.find("<" + folder + ">") != std::string::npos ? 'D' : 'F';
        } else if (line.rfind("link", 0) == 0 || line.rfind("rename", 0) == 0) {
            steps += steps.ends_with('M') ? "" : "M"; // a replacement links, then renames
        } else if (line.rfind("write(1<", 0) == 0) {
            steps += 'R';
        }
    }
    return steps;
}

// Each output is flushed before its name is moved into place, and their folder once, after the
// last move and before the first report line.
TEST(VelkaroConvert, AllFlushesTheFolderOnceAfterTheLastMove) {
    if (std::system("command -v strace >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "strace is not installed";
    }
    TempDir dir;
    fs::create_directory(dir.path() / "data");
    writeBytes(dir.file("data/pts.txt"), kSource);
    const std::string trace = dir.file("trace.txt");
    // LeakSanitizer cannot run under ptrace; the sanitizer build's other checks still do.
    const std::string strace = "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
                               "strace -qq -y -e trace=fsync,link,linkat,rename,renameat,"
                               "renameat2,write -o '" +
                               trace + "' ";
    const ProgramRun run = convert(dir, {"-f", "all", "data/pts.txt"}, strace);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string folder = fs::canonical(dir.path() / "data").string();
    EXPECT_EQ(syncSteps(trace, folder), "FMFMFMDRRR");
    const ProgramRun one = convert(dir, {"-f", "cad", "data/pts.txt"}, strace);
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(syncSteps(trace, folder), "FMDR");
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
    EXPECT_EQ(run.err, "velkaro-convert: missing.txt: 打开源文件错误，请重新选择!\n"
                       "velkaro-convert: missing.txt: 位置: missing.txt\n"
                       "velkaro-convert: missing.txt: 原因: 文件或文件夹不存在。\n");
    EXPECT_EQ(run.out, "b.txt -> bKaisi.txt (2 点)\n");
}

// What the user reads on standard error, and the identifier a script reads in --json, for each
// way a run goes wrong or converts less than it seems to. Warnings come once per source.
struct ToldRow {
    const char *name;
    std::string source;
    std::string prefix; // shell commands before the converter
    std::string err;    // after "velkaro-convert: pts.txt: " on each line
    std::string kind;   // the JSON identifier: of the failure, or of the first warning
};

class ToldTest : public ::testing::TestWithParam<ToldRow> {};

std::string bigSource() {
    std::string big;
    for (int i = 0; i < 5000; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\n";
    }
    return big;
}

TEST_P(ToldTest, SaysWhatHappenedAndWhere) {
    const ToldRow &row = GetParam();
    TempDir dir;
    writeBytes(dir.file("pts.txt"), row.source);
    writeBytes(dir.file("ptsCAD.dxf"), "earlier");
    const ProgramRun run = convert(dir, {"-f", "all", "pts.txt"}, row.prefix);
    std::string expected;
    for (std::size_t start = 0; start < row.err.size();) {
        const std::size_t end = row.err.find('\n', start) + 1;
        expected += "velkaro-convert: pts.txt: " + row.err.substr(start, end - start);
        start = end;
    }
    EXPECT_EQ(run.err, expected);
    const ProgramRun json = convert(dir, {"--json", "-f", "cad", "pts.txt"}, row.prefix);
    EXPECT_NE(json.out.find("\"kind\":\"" + row.kind + "\""), std::string::npos) << json.out;
    if (row.kind == "output-write-failed") {
        EXPECT_EQ(readBytes(dir.file("ptsCAD.dxf")), "earlier");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ToldTest,
    ::testing::Values(
        ToldRow{"EmptySource", "", "",
                "警告: 源文件中没有可转换的点 (文件是空的、只有空行或第一行就停止了)，"
                "没有写入任何点。\n",
                "no-points"},
        ToldRow{"ShortLine", kSource + "\r\n" + kSource, "",
                "警告: 第 3 行不足 10 字节，读取在此停止，其后 2 行没有转换。\n",
                "stopped-at-short-line"},
        ToldRow{"CtrlZCut", kSource + "\x1a" + kSource, "",
                "警告: 第 3 行有文件结束符 (0x1A)，读取在此停止，其后 2 行没有转换。\n",
                "stopped-at-end-of-file-byte"},
        ToldRow{"ZeroByte", kSource + std::string("1,2,P3,K\0,1,2,3\r\n", 17) + kSource, "",
                "警告: 第 3 行有零字节 (0x00)，读取在此停止，其后 2 行没有转换。\n"
                "警告: 源文件看来不是 RTK 点文件 (有零字节或多数行没有坐标)，请确认选对了文件。\n",
                "stopped-at-zero-byte"},
        ToldRow{"FullDisk", bigSource(), "trap '' XFSZ; ulimit -f 600; ",
                "写入转换文件错误:ptsCAD.dxf\n位置: ptsCAD.dxf\n原因: 磁盘已满。\n",
                "output-write-failed"}),
    [](const auto &info) { return std::string(info.param.name); });

// Twelve lines without coordinates: the first ten by number, then "等"; the outputs are still
// written as the old tool wrote them.
TEST(VelkaroConvert, WarnsAboutLinesWithoutCoordinatesNamingTen) {
    TempDir dir;
    std::string junk = "序号,解状态,点名,编码,X,Y,H\r\n";
    for (int i = 0; i < 11; ++i) {
        junk += "1,2,P,K,east,north,up\r\n";
    }
    writeBytes(dir.file("pts.txt"), junk + kSource);
    const ProgramRun run = convert(dir, {"-f", "all", "pts.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "velkaro-convert: pts.txt: 警告: 源文件看来不是 RTK 点文件 (有零字节或多数行"
                       "没有坐标)，请确认选对了文件。\n"
                       "velkaro-convert: pts.txt: 警告: 12 行没有坐标数值 (第 1、2、3、4、5、6、7、"
                       "8、9、10 等 行)，已按原样写入。\n");
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
    EXPECT_EQ(text.err, "velkaro-convert: pts.txt: 警告: 1 行没有坐标数值，已略去 (第 1 行)。\n");
    const ProgramRun json = convert(dir, {"--json", "-fcad", "--dxf-codepage", "pts.txt"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "{\"source\":\"pts.txt\",\"format\":\"cad\",\"status\":\"converted\","
                        "\"kind\":\"converted\",\"output\":\"ptsCAD.dxf\",\"points\":2,"
                        "\"linesRead\":2,\"linesTaken\":2,"
                        "\"linesLeftOut\":0,\"firstLinesLeftOut\":[],\"stoppedAtLine\":null,"
                        "\"linesNotConverted\":0,\"linesWithoutCoordinates\":1,"
                        "\"firstLinesWithoutCoordinates\":[1],\"warnings\":[{\"kind\":"
                        "\"lines-without-coordinates\",\"text\":\"警告: 1 行没有坐标数值 (第 1 "
                        "行)，已按原样写入。\"}],\"codes\":["
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
