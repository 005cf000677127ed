// velkaro-convert end to end: the real executable, real files, exit codes and messages.

#include "hostile_support.h"
#include "outcome_printer.h"
#include "test_files.h"
#include "velkaro_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// A large output reaches the system in one write for every buffer of about 64 KiB, and the disk
// is asked to start on each 4 MiB of it as it is written, before the flush at the end.
TEST(VelkaroConvert, LargeOutputsAreWrittenOutAsTheyGrow) {
    if (std::system("command -v strace >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "strace is not installed";
    }
    TempDir dir;
    std::string source;
    for (int i = 0; i < 120000; ++i) {
        source += "1,2,P" + std::to_string(i) + ",K1,3515143.5017,516217.3275,46.5617\r\n";
    }
    writeBytes(dir.file("big.txt"), source);
    const std::string trace = dir.file("trace.txt");
    const std::string strace = "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
                               "strace -qq -e trace=write,sync_file_range,fsync -o '" +
                               trace + "' ";
    ASSERT_EQ(convert(dir, {"-f", "cad", "big.txt"}, strace).status, 0);
    const std::uint64_t size = fs::file_size(dir.file("bigCAD.dxf"));
    std::uint64_t writes = 0;
    std::uint64_t writebacks = 0;
    std::istringstream lines(readBytes(trace));
    for (std::string line; std::getline(lines, line);) {
        writes += line.starts_with("write(") && !line.starts_with("write(1,") ? 1u : 0u;
        writebacks += line.starts_with("sync_file_range(") ? 1u : 0u;
    }
    EXPECT_LE(writes, size / 60000 + 1);
    EXPECT_GE(writebacks, 1u);
    EXPECT_LE(writebacks, size / (4 << 20));
    EXPECT_LT(readBytes(trace).rfind("sync_file_range("), readBytes(trace).find("fsync("));
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
// Each line of text as velkaro-convert prints it on standard error about pts.txt.
std::string aboutPts(const std::string &text) {
    std::string lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start) + 1;
        lines += "velkaro-convert: pts.txt: " + text.substr(start, end - start);
        start = end;
    }
    return lines;
}

struct ToldRow {
    const char *name;
    std::string source;
    std::string prefix; // shell commands before the converter
    std::string err;    // after "velkaro-convert: pts.txt: " on each line
    std::string kind;   // the JSON identifier: of the failure, or of the first warning
    std::vector<std::string> options = {};
};

class ToldTest : public ::testing::TestWithParam<ToldRow> {};

std::string thrice(const std::string &text) {
    return text + text + text;
}

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
    std::vector<std::string> arguments = row.options;
    arguments.insert(arguments.end(), {"-f", "all", "pts.txt"});
    const ProgramRun run = convert(dir, arguments, row.prefix);
    EXPECT_EQ(run.err, aboutPts(row.err));
    arguments.insert(arguments.begin(), "--json");
    const ProgramRun json = convert(dir, arguments, row.prefix);
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
                "警告: 第 3 行有零字节 (0x00)，读取在此停止，其后 2 行没有转换。\n",
                "stopped-at-zero-byte"},
        ToldRow{
            "AxesSwapped", "1,2,P1,K,516181.7499,3515102.9358,42.7\n", "",
            "警告: 多数点的 x 像东坐标、y 像北坐标，坐标轴可能颠倒了，请检查源文件各列的含义。\n",
            "axes-swapped"},
        ToldRow{
            "LayoutUndecidedForEachFormat",
            "P1,100.5,200.5,3\n",
            "",
            thrice("无法识别源文件的格式:pts.txt\n原因: 没有标题行说明各列，也没有一列像北坐标 "
                   "(7 位整数)、另一列像东坐标 (6 位整数，或前面带带号的 8 位整数)。\n请指定源文件"
                   "各列的含义，例如 name,code,y,x,z。\n"),
            "layout-undecided",
            {"--source-layout=auto"}},
        ToldRow{"HeightUndecided",
                "P1,3,42,3515102.9,516181.7\n",
                "",
                thrice("无法识别源文件的格式:pts.txt\n原因: 除北坐标和东坐标外，有几列数值都可能是"
                       "高程。\n请指定源文件各列的含义，例如 name,code,y,x,z。\n"),
                "layout-undecided",
                {"--source-layout=auto"}},
        ToldRow{"CharacterGbkCannotHold",
                "点名,编码,N,E,H\nP\xF0\x9F\x98\x80,K,3515102.9,516181.7,42.8\n",
                "",
                "按 name,code,x,y,z 读取 (逗号或制表符分隔; 第一行为标题; UTF-8)\n警告: 1 "
                "行的点名或编码"
                "有输出代码页不能表示的字符，已写作 \"?\" (第 2 行)。\n",
                "unrepresentable-characters",
                {"--source-layout=auto"}},
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
                       "8、9、10 等行)，已按原样写入。\n");
    EXPECT_NE(run.out.find("pts.txt -> ptsKaisi.txt (14 点)\n"), std::string::npos);
}

// The same points in every layout a controller or a surveyor writes give the bytes the old
// reading gives for them: the layout given, a preset, or found by auto with or without a header,
// in GBK or in UTF-8. Standard error, each output's summary and the JSON say how it was read.
struct LayoutRow {
    const char *name;
    std::string source;
    std::vector<std::string> options;
    std::string said;      // how the converter says it read the file; empty: it says nothing
    std::string reference; // the same points in the old tool's layout
};

class LayoutTest : public ::testing::TestWithParam<LayoutRow> {};

// 控制点5 in GBK, as field software on Chinese Windows writes it.
const std::string kGbkName = "\xbf\xd8\xd6\xc6\xb5\xe3"
                             "5";
const std::string kRtkPoints = "1,2,P1,KZD,3515102.9358,516181.7499,42.7988\r\n1,2," + kGbkName +
                               ",NULL,3515153.2790,516519.7514,39.6360\r\n";
const std::string kUtf8Points = "1,2,P1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                                "1,2,控制点5,NULL,3515153.2790,516519.7514,39.6360\r\n";
// Points named by numbers, as many controllers name them.
const std::string kNumberedPoints = "1,2,1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                                    "1,2,2,NULL,3515153.2790,516519.7514,39.6360\r\n";

// What stands between "按 " and " 读取" in what the converter says.
std::string rolesSaid(const std::string &said) {
    const std::size_t from = said.find(' ') + 1;
    return said.substr(from, said.find(' ', from) - from);
}

TEST_P(LayoutTest, GivesTheBytesOfTheOldReading) {
    const LayoutRow &row = GetParam();
    TempDir dir;
    writeBytes(dir.file("rtk.txt"), row.reference);
    writeBytes(dir.file("pts.txt"), row.source);
    ASSERT_EQ(convert(dir, {"-f", "all", "rtk.txt"}).status, 0);
    std::vector<std::string> arguments = row.options;
    arguments.insert(arguments.end(), {"-f", "all", "--summary", "pts.txt"});
    const ProgramRun run = convert(dir, arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, row.said.empty() ? "" : "velkaro-convert: pts.txt: " + row.said + "\n");
    for (const char *suffix : {"Cass.dat", "Kaisi.txt", "CAD.dxf"}) {
        EXPECT_EQ(readBytes(dir.file(std::string("pts") + suffix)),
                  readBytes(dir.file(std::string("rtk") + suffix)))
            << suffix;
        EXPECT_EQ(run.out.find(std::string(suffix) + " (2 点)\n  " + row.said + "\n") !=
                      std::string::npos,
                  !row.said.empty())
            << run.out;
    }
    arguments.insert(arguments.begin(), "--json");
    EXPECT_EQ(convert(dir, arguments).out.find("\"layout\":{\"roles\":\"" + rolesSaid(row.said)) !=
                  std::string::npos,
              !row.said.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LayoutTest,
    ::testing::Values(
        LayoutRow{"ExplicitRtk",
                  kRtkPoints,
                  {"--source-layout", "-,-,name,code,x,y,z"},
                  "按 -,-,name,code,x,y,z 读取 (逗号或制表符分隔)",
                  kRtkPoints},
        LayoutRow{"CassDat",
                  "P1,KZD,516181.7499,3515102.9358,42.7988\r\n" + kGbkName +
                      ",,516519.7514,3515153.2790,39.6360\r\n",
                  {"--source-layout", "cass"},
                  "按 name,code,y,x,z 读取 (逗号或制表符分隔)",
                  kRtkPoints},
        LayoutRow{"CassBySpacesUtf8WithByteOrderMark",
                  "\xEF\xBB\xBFP1  KZD 516181.7499 3515102.9358 42.7988\r\n"
                  "控制点5 NULL 516519.7514 3515153.2790 39.6360\r\n",
                  {"--source-layout", "cass"},
                  "按 name,code,y,x,z 读取 (空格分隔; UTF-8)",
                  kRtkPoints},
        LayoutRow{"PnezdBySemicolons",
                  "P1;3515102.9358;516181.7499;42.7988;KZD\n" + kGbkName +
                      ";3515153.2790;516519.7514;39.6360;\n",
                  {"--source-layout", "pnezd"},
                  "按 name,x,y,z,code 读取 (分号分隔)",
                  kRtkPoints},
        LayoutRow{"PenzdWithTabs",
                  "P1\t516181.7499\t3515102.9358\t42.7988\tKZD\n" + kGbkName +
                      "\t516519.7514\t3515153.2790\t39.6360\n",
                  {"--source-layout", "penzd"},
                  "按 name,y,x,z,code 读取 (逗号或制表符分隔)",
                  kRtkPoints},
        LayoutRow{"AutoHeaderUtf8WithByteOrderMark",
                  "\xEF\xBB\xBF点号,编码,N,E,H\r\nP1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                  "控制点5,,3515153.2790,516519.7514,39.6360\r\n",
                  {"--source-layout", "auto"},
                  "按 name,code,x,y,z 读取 (逗号或制表符分隔; 第一行为标题; UTF-8)",
                  kRtkPoints},
        LayoutRow{"AutoSpacesNoHeaderGbk",
                  "P1 3515102.9358 516181.7499 42.7988 KZD\n" + kGbkName +
                      "  3515153.2790  516519.7514  39.6360\n",
                  {"--source-layout", "auto"},
                  "按 name,x,y,z,code 读取 (空格分隔)",
                  kRtkPoints},
        LayoutRow{"AutoOldExportWithTextInField2",
                  "1,\xb9\xcc\xb6\xa8\xbd\xe2,P1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                  "5,\xb9\xcc\xb6\xa8\xbd\xe2," +
                      kGbkName + ",NULL,3515153.2790,516519.7514,39.6360\r\n",
                  {"--source-layout", "auto"},
                  "按 rtk 读取 (原程序的读法)",
                  kRtkPoints},
        LayoutRow{"AutoOldExportUtf8WithByteOrderMark",
                  "\xEF\xBB\xBF" + kUtf8Points,
                  {"--source-layout", "auto"},
                  "按 rtk 读取 (原程序的读法; UTF-8)",
                  kRtkPoints},
        LayoutRow{
            "OldLayoutWithUtf8Given", kUtf8Points, {"--source-encoding", "utf-8"}, "", kRtkPoints},
        LayoutRow{
            "AutoCassNumberNames",
            "1,KZD,516181.7499,3515102.9358,42.7988\r\n2,,516519.7514,3515153.2790,39.6360\r\n",
            {"--source-layout", "auto"},
            "按 name,code,y,x,z 读取 (逗号或制表符分隔)",
            kNumberedPoints},
        LayoutRow{"AutoHeightBeforeCoordinates",
                  "P1,42.7988,3515102.9358,516181.7499,KZD\r\n" + kGbkName +
                      ",39.6360,3515153.2790,516519.7514,\r\n",
                  {"--source-layout", "auto"},
                  "按 name,z,x,y,code 读取 (逗号或制表符分隔)",
                  kRtkPoints}),
    [](const auto &info) { return std::string(info.param.name); });

// Names from a UTF-8 source go into each output's own code page: GBK for CASS and Kaisi whatever
// --dxf-codepage says, the DXF's page for the DXF (控制 in Big5, not in GBK).
TEST(VelkaroConvert, EachOutputGetsItsOwnCodePage) {
    TempDir dir;
    writeBytes(dir.file("gbk.txt"), "1,2,\xbf\xd8\xd6\xc6,NULL,3515153.279,516519.7514,39.636\r\n");
    writeBytes(dir.file("pts.txt"), "1,2,控制,NULL,3515153.279,516519.7514,39.636\r\n");
    for (const char *source : {"gbk.txt", "pts.txt"}) {
        ASSERT_EQ(convert(dir, {"-f", "all", "--cass-columns=name", "--dxf-codepage=950",
                                "--source-encoding", source[0] == 'g' ? "gbk" : "utf-8", source})
                      .status,
                  0);
    }
    EXPECT_EQ(readBytes(dir.file("ptsCass.dat")), readBytes(dir.file("gbkCass.dat")));
    EXPECT_EQ(readBytes(dir.file("ptsKaisi.txt")), readBytes(dir.file("gbkKaisi.txt")));
    EXPECT_NE(readBytes(dir.file("ptsCAD.dxf")).find("\r\n\xb1\xb1\xa8\xee\r\n"),
              std::string::npos);
}

struct UsageRow {
    std::vector<std::string> arguments;
    std::string firstLine;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageRow> {};

// With --json, standard output also says it, as one object with the usage error's identifier.
TEST_P(UsageErrorTest, ExitsWithTwoAndPrintsUsage) {
    TempDir dir;
    std::vector<std::string> arguments = GetParam().arguments;
    const bool json = std::find(arguments.begin(), arguments.end(), "--json") != arguments.end();
    for (const bool withJson : {false, true}) {
        if (withJson && !json) {
            arguments.insert(arguments.begin(), "--json");
        }
        const ProgramRun run = convert(dir, arguments);
        EXPECT_EQ(run.status, 2);
        const std::string message = GetParam().firstLine.substr(17); // after "velkaro-convert: "
        EXPECT_EQ(run.out, withJson || json ? "{\"status\":\"failed\",\"kind\":\"usage-error\","
                                              "\"message\":\"" +
                                                  message + "\"}\n"
                                            : "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().firstLine);
        EXPECT_NE(run.err.find("usage: velkaro-convert -f FORMAT [-o DIR] SOURCE..."),
                  std::string::npos);
        EXPECT_EQ(listFolder(dir.path()), "");
    }
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
        UsageRow{{"-f", "cad", "--label-height=0", "pts.txt"},
                 "velkaro-convert: 文字高度无效: 0 (须在 0.000001 至 1000000 之间)"},
        // Heights that printed as 0.000000 or moved the labels to infinite positions.
        UsageRow{{"-f", "cad", "--label-height", "0.0000004", "pts.txt"},
                 "velkaro-convert: 文字高度无效: 0.0000004 (须在 0.000001 至 1000000 之间)"},
        UsageRow{{"-f", "cad", "--label-height=1.7e308", "pts.txt"},
                 "velkaro-convert: 文字高度无效: 1.7e308 (须在 0.000001 至 1000000 之间)"},
        // The code page apart from its option was taken as a source file.
        UsageRow{{"-f", "cad", "--dxf-codepage", "950", "pts.txt"},
                 "velkaro-convert: 选项 --dxf-codepage 的代码页须用等号连写: --dxf-codepage=950"},
        UsageRow{{"-f", "cad", "--json", "--source-encoding=latin1", "pts.txt"},
                 "velkaro-convert: 未知编码: latin1 (可用 gb18030 或 utf-8)"},
        UsageRow{{"-f", "cad", "--source-encoding"},
                 "velkaro-convert: 选项 --source-encoding 缺少编码"},
        UsageRow{{"-f", "cad", "--label-decimals", "7", "pts.txt"},
                 "velkaro-convert: 小数位数无效: 7 (须在 0 至 6 之间)"},
        UsageRow{{"-f", "cass", "--cass-columns=names", "pts.txt"},
                 "velkaro-convert: 未知 CASS 列: names"},
        UsageRow{{"-f", "gpkg", "--crs=EPSG:4555", "pts.txt"},
                 "velkaro-convert: 未知坐标系: EPSG:4555 (可用 auto, 或 CGCS2000 高斯-克吕格坐标系 "
                 "EPSG:4491 至 EPSG:4554)"},
        UsageRow{{"-f", "kml", "--crs", "4527", "pts.txt"},
                 "velkaro-convert: 未知坐标系: 4527 (可用 auto, 或 CGCS2000 高斯-克吕格坐标系 "
                 "EPSG:4491 至 EPSG:4554)"}));

// The GIS formats: where the points lie on the globe is said, and a grid that cannot hold them
// writes nothing at all.
struct GisRow {
    const char *name;
    std::string source;
    std::vector<std::string> arguments;
    int status;
    std::string err;    // after "velkaro-convert: pts.txt: " on each line
    std::string output; // the file expected afterwards, or "" for none
};

void PrintTo(const GisRow &row, std::ostream *out) {
    *out << row.name;
}

class GisTest : public ::testing::TestWithParam<GisRow> {};

TEST_P(GisTest, PlacesThePointsOrWritesNothing) {
    const GisRow &row = GetParam();
    TempDir dir;
    writeBytes(dir.file("pts.txt"), row.source);
    std::vector<std::string> arguments = row.arguments;
    arguments.push_back("pts.txt");
    const ProgramRun run = convert(dir, arguments);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_EQ(run.err, aboutPts(row.err));
    EXPECT_EQ(listFolder(dir.path()),
              row.output.empty() ? "pts.txt\n" : row.output + "\npts.txt\n");
}

const std::string kZonePoints = "1,2,P1,K,3300000.000,39500000.000,41.8\r\n"
                                "1,2,P2,K,3300100.000,39500100.000,42.8\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, GisTest,
    ::testing::Values(
        GisRow{"GlobeNeedsAGrid",
               kZonePoints,
               {"-f", "geojson"},
               1,
               "没有指定坐标系，不能把点放到地球上:pts.geojson\n请指定 CGCS2000 高斯-克吕格坐标系 "
               "(EPSG:4491 至 EPSG:4554)，或选 \"自动\" 按东坐标前的带号确定。\n",
               ""},
        GisRow{"ZoneFromTheEasting",
               kZonePoints,
               {"-f", "kml", "--crs", "auto"},
               0,
               "坐标系: EPSG:4527 CGCS2000 3° 带 39 (中央经线 117°E, 东坐标带带号)\n",
               "pts.kml"},
        GisRow{"NoZoneInTheEasting",
               "1,2,P1,K,3300000.000,500000.000,41.8\r\n",
               {"-f", "geojson", "--crs=auto"},
               1,
               "无法按带号确定坐标系:pts.txt\n原因: 第 1 行的东坐标不是前面带有带号 (13 至 23 或 "
               "25 至 45) 的 8 位整数。\n请指定坐标系，例如 EPSG:4527。\n",
               ""},
        GisRow{"PointOfAnotherZone",
               kZonePoints + "1,2,P3,K,3300000.000,40500000.000,41.8\r\n",
               {"-f", "gpkg", "--crs=auto"},
               1,
               "点不在坐标系 EPSG:4527 的范围内，没有写入任何点:pts.txt\n原因: 第 3 行的东坐标属于"
               "另一个带，或缺少 (或多了) 带号。\n",
               ""},
        GisRow{
            "LocalGridSaysSo",
            kZonePoints,
            {"-f", "shp"},
            0,
            "坐标系: 未指定 (本地坐标)\n警告: 没有指定坐标系: 点按本地坐标写入，文件中没有坐标系，"
            "GIS 软件中须手动指定。\n",
            "pts.cpg\npts.dbf\npts.shp\npts.shx"}),
    [](const auto &info) { return std::string(info.param.name); });

// The summary, as text and as JSON: a header row left out, a GBK code (decoded into UTF-8 text in
// JSON), and --dxf-codepage alone meaning 936.
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
                        "行)，已按原样写入。\"}],\"encoding\":\"gb18030\",\"codes\":["
                        "{\"code\":\"code\",\"points\":1,\"x\":null,\"y\":null,\"z\":null},"
                        "{\"code\":\"控\",\"points\":1,\"x\":{\"min\":-1.000000,"
                        "\"max\":-1.000000},\"y\":{\"min\":2000.000000,\"max\":2000.000000},"
                        "\"z\":{\"min\":5.000000,\"max\":5.000000}}],\"otherCodes\":null}\n");
    EXPECT_TRUE(
        readBytes(dir.file("ptsCAD.dxf")).starts_with("  0\r\nSECTION\r\n  2\r\nHEADER\r\n"));
}

// A report longer than the buffer it is written from: 2,000 codes of one point each (their one
// end printed once and copied), and one of two points with a control byte, each line as printf
// would put it.
TEST(VelkaroConvert, LongSummaryListsEveryCode) {
    TempDir dir;
    std::string source;
    std::string expected = "pts.txt -> ptsCass.dat (2002 点)\n"
                           "  行: 读取 2002, 取用 2002, 略去 0, 读到文件末尾\n";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        source += n + ",2,P,C" + n + "," + n + ".25,-" + n + ".5,7\n";
        char line[160];
        std::snprintf(line, sizeof line,
                      "  编码 C%d: 1 点, x %d.250000 ~ %d.250000, y -%d.500000 ~ -%d.500000, z "
                      "7.000000 ~ 7.000000\n",
                      i, i, i, i, i);
        expected += line;
    }
    source += "1,2,P,C\x01,1,2,3\n1,2,P,C\x01,-4,5,6\n";
    expected += "  编码 C\\x01: 2 点, x -4.000000 ~ 1.000000, y 2.000000 ~ 5.000000, z "
                "3.000000 ~ 6.000000\n";
    writeBytes(dir.file("pts.txt"), source);
    const ProgramRun run = convert(dir, {"-f", "cass", "--summary", "pts.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    // The line where they part, not the whole megabyte.
    const auto parted =
        std::mismatch(run.out.begin(), run.out.end(), expected.begin(), expected.end());
    const std::size_t line =
        run.out.rfind('\n', static_cast<std::size_t>(parted.first - run.out.begin())) + 1;
    EXPECT_EQ(run.out.substr(line, 200), expected.substr(line, 200));
    EXPECT_EQ(run.out.size(), expected.size());
}

// An option that none of the chosen formats uses is named on standard error, and in --json in
// every object's warnings with its identifier; the conversion runs as asked.
TEST(VelkaroConvert, WarnsAboutOptionsTheFormatDoesNotUse) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), velkaro::test::kSource);
    const std::string labels = "警告: 选项 --labels 只用于CAD格式，本次转换不用它";
    const std::string crs =
        "警告: 选项 --crs 只用于 GIS 格式 (gpkg, shp, geojson, kml)，本次转换不用它";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::string jsonWarnings; // the first object's
    } rows[] = {
        {{"-f", "cass", "--labels", "pts.txt"},
         0,
         "velkaro-convert: " + labels + "\n",
         "[{\"kind\":\"unused-option\",\"option\":\"--labels\",\"text\":\"" + labels + "\"}]"},
        {{"-f", "kaisi", "--cass-columns=name", "--dxf-axes=en", "pts.txt"},
         0,
         "velkaro-convert: 警告: 选项 --dxf-axes 只用于CAD格式，本次转换不用它\n"
         "velkaro-convert: 警告: 选项 --cass-columns 只用于CASS6.0格式，本次转换不用它\n",
         "[{\"kind\":\"unused-option\",\"option\":\"--dxf-axes\",\"text\":\"警告: 选项 "
         "--dxf-axes 只用于CAD格式，本次转换不用它\"},{\"kind\":\"unused-option\",\"option\":"
         "\"--cass-columns\",\"text\":\"警告: 选项 --cass-columns 只用于CASS6.0格式，本次转换不用"
         "它\"}]"},
        {{"-f", "all", "--labels", "--cass-columns=name", "pts.txt"}, 0, "", "[]"},
        {{"-f", "cad", "--crs=auto", "pts.txt"},
         0,
         "velkaro-convert: " + crs + "\n",
         "[{\"kind\":\"unused-option\",\"option\":\"--crs\",\"text\":\"" + crs + "\"}]"},
        {{"-f", "cass", "--labels", "missing.txt"},
         1,
         "velkaro-convert: " + labels +
             "\nvelkaro-convert: missing.txt: 打开源文件错误，请重新选择!\n"
             "velkaro-convert: missing.txt: 位置: missing.txt\n"
             "velkaro-convert: missing.txt: 原因: 文件或文件夹不存在。\n",
         "[{\"kind\":\"unused-option\",\"option\":\"--labels\",\"text\":\"" + labels + "\"}]"},
    };
    for (const auto &row : rows) {
        const ProgramRun run = convert(dir, row.arguments);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, row.err);
        std::vector<std::string> arguments = row.arguments;
        arguments.insert(arguments.begin(), "--json");
        const ProgramRun json = convert(dir, arguments);
        EXPECT_EQ(json.status, row.status);
        const std::size_t members = json.out.find(",\"warnings\":");
        ASSERT_NE(members, std::string::npos) << json.out;
        EXPECT_EQ(json.out.substr(members + 12, row.jsonWarnings.size()), row.jsonWarnings);
    }
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
