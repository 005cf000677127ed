#include "conversion_run.h"
#include "file_system_path.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::makeOutputFileName;
using velkaro::TargetFormat;
using velkaro::test::listFolder;
using velkaro::test::readBytes;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;
using Kind = ConversionOutcome::Kind;

const std::string kSource = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,11,21,4\r\n";

struct NameRow {
    std::string source;
    TargetFormat format;
    std::string expected;
};

class MakeOutputFileNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(MakeOutputFileNameTest, IsStemSuffixAndExtension) {
    EXPECT_EQ(makeOutputFileName(GetParam().source, GetParam().format), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MakeOutputFileNameTest,
    ::testing::Values(NameRow{"pts.txt", TargetFormat::Cass, "ptsCass.dat"},
                      NameRow{"pts.txt", TargetFormat::Kaisi, "ptsKaisi.txt"},
                      NameRow{"pts.txt", TargetFormat::Cad, "ptsCAD.dxf"},
                      NameRow{"survey.2004.12.txt", TargetFormat::Cass, "surveyCass.dat"},
                      NameRow{".hidden.txt", TargetFormat::Cass, "hiddenCass.dat"},
                      NameRow{"noext", TargetFormat::Cad, "noextCAD.dxf"},
                      NameRow{"中文.txt", TargetFormat::Kaisi, "中文Kaisi.txt"},
                      NameRow{"\xd6\xd0\xce\xc4.txt", TargetFormat::Kaisi,
                              "\xd6\xd0\xce\xc4Kaisi.txt"},
                      NameRow{"...", TargetFormat::Cass, "Cass.dat"},
                      NameRow{"", TargetFormat::Cass, "Cass.dat"},
                      NameRow{"my points.txt", TargetFormat::Cad, "my pointsCAD.dxf"},
                      NameRow{"..a..b", TargetFormat::Cass, "aCass.dat"}));

TEST(MakeOutputFileName, LongNameTakesTheStemFromTheWholeName) {
    const std::string stem(300, 'a');
    EXPECT_EQ(makeOutputFileName(stem + ".txt", TargetFormat::Cass), stem + "Cass.dat");
}

// A request for a source in a fresh folder, with the output going into the same folder.
struct Fixture {
    TempDir dir;
    ConversionRequest request;

    explicit Fixture(std::string_view itemText = velkaro::kCassItemText) {
        request.sourcePath = dir.file("pts.txt");
        request.sourceFileName = "pts.txt";
        request.formatItemText = std::string(itemText);
        request.outputFolder = dir.folder();
        writeBytes(request.sourcePath, kSource);
    }
};

TEST(RunConversion, ChecksSourceBeforeFormat) {
    ConversionRequest empty;
    const ConversionOutcome noSource = velkaro::runConversion(empty);
    EXPECT_EQ(noSource.kind, Kind::NoSource);
    EXPECT_EQ(noSource.message, "请选择源文件");
    empty.formatItemText = std::string(velkaro::kCadItemText);
    EXPECT_EQ(velkaro::runConversion(empty).kind, Kind::NoSource);
}

TEST(RunConversion, MissingOrUnknownFormatIsNoFormat) {
    for (const std::optional<std::string> &text :
         {std::optional<std::string>{}, std::optional<std::string>{"cass6.0格式"},
          std::optional<std::string>{""}, std::optional<std::string>{"CAD格式 "}}) {
        Fixture f;
        f.request.formatItemText = text;
        const ConversionOutcome outcome = velkaro::runConversion(f.request);
        EXPECT_EQ(outcome.kind, Kind::NoFormat);
        EXPECT_EQ(outcome.message, "请选择转换格式");
        EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
    }
}

TEST(RunConversion, ConvertedMessageNamesTheOutput) {
    Fixture f(velkaro::kKaisiItemText);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::Converted);
    EXPECT_EQ(outcome.outputFileName, "ptsKaisi.txt");
    EXPECT_EQ(outcome.message, "\t转换成功!\n生成转换文件:ptsKaisi.txt");
    EXPECT_EQ(outcome.outputPath, f.dir.file("ptsKaisi.txt"));
    EXPECT_EQ(outcome.pointsWritten, 2u);
    EXPECT_EQ(outcome.stoppedAtLine, 0u);
    EXPECT_EQ(readBytes(outcome.outputPath), "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n");
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsKaisi.txt\n");
}

TEST(RunConversion, WithoutOutputFolderWritesIntoTheCurrentDirectory) {
    Fixture f;
    f.request.outputFolder.clear();
    const fs::path before = fs::current_path();
    fs::current_path(f.dir.path());
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    fs::current_path(before);
    EXPECT_EQ(outcome.kind, Kind::Converted);
    EXPECT_EQ(outcome.outputPath, "ptsCass.dat");
    EXPECT_EQ(readBytes(f.dir.file("ptsCass.dat")), "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
}

// Names are the file system's bytes in the system's narrow encoding and are never decoded. The GBK
// bytes of 中文 are also characters of Windows' Western code page, so they must come back byte
// for byte on every system: source, output name, the moved-in output and the message alike.
TEST(RunConversion, NonAsciiNamesPassThroughAsBytes) {
    Fixture f;
    const std::string stem = "\xd6\xd0\xce\xc4";
    f.request.sourcePath = f.dir.file(stem + ".txt");
    f.request.sourceFileName = stem + ".txt";
    writeBytes(f.request.sourcePath, kSource);
    for (int run = 0; run < 2; ++run) { // the second run replaces the first one's output
        const ConversionOutcome outcome = velkaro::runConversion(f.request);
        EXPECT_EQ(outcome.kind, Kind::Converted) << outcome.message;
        EXPECT_EQ(outcome.outputFileName, stem + "Cass.dat");
        EXPECT_EQ(outcome.message, "\t转换成功!\n生成转换文件:" + stem + "Cass.dat");
        EXPECT_EQ(readBytes(f.dir.file(stem + "Cass.dat")), "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
    }
}

TEST(RunConversion, NonAsciiOutputFolderGetsTheOutputAndNoTemporaryFile) {
    Fixture f;
    const std::string folder = f.dir.file("\xb2\xe2\xc1\xbf"); // 测量 in GBK
    fs::create_directory(velkaro::toFileSystemPath(folder));
    f.request.outputFolder = folder;
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::Converted) << outcome.message;
    EXPECT_EQ(readBytes(f.dir.file("\xb2\xe2\xc1\xbf/ptsCass.dat")),
              "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
    EXPECT_EQ(listFolder(velkaro::toFileSystemPath(folder)), "ptsCass.dat\n");
}

TEST(RunConversion, SourceThatCannotBeOpenedCreatesNoOutput) {
    for (const std::string &path : {std::string("gone.txt"), std::string(".")}) {
        Fixture f;
        f.request.sourcePath = path == "." ? f.dir.folder() : f.dir.file(path);
        const ConversionOutcome outcome = velkaro::runConversion(f.request);
        EXPECT_EQ(outcome.kind, Kind::SourceOpenFailed) << path;
        EXPECT_EQ(outcome.message, "打开源文件错误，请重新选择!");
        EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
    }
}

TEST(RunConversion, SecondRunOverwritesTheFirstOutput) {
    Fixture f;
    ASSERT_EQ(velkaro::runConversion(f.request).kind, Kind::Converted);
    writeBytes(f.request.sourcePath, "1,2,P9,K9,1,2,3\n");
    ASSERT_EQ(velkaro::runConversion(f.request).kind, Kind::Converted);
    EXPECT_EQ(readBytes(f.dir.file("ptsCass.dat")), "K9,,2,1,3\r\n");
}

TEST(RunConversion, ShortFirstLineGivesAnEmptyOutputAndConverted) {
    Fixture f;
    writeBytes(f.request.sourcePath, "1,2,P\r\n" + kSource);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::Converted);
    EXPECT_EQ(readBytes(outcome.outputPath), "");
    EXPECT_EQ(outcome.stoppedAtLine, 1u);
}

// What a run reports about the lines it did not convert or took without coordinates.
struct LinesRow {
    const char *name;
    std::string source;
    std::uint64_t points;
    std::uint64_t stoppedAtLine;
    std::uint64_t linesNotConverted;
    std::vector<std::uint64_t> withoutCoordinates; // all of them: the tables stay under ten
};

class LinesReportTest : public ::testing::TestWithParam<LinesRow> {};

TEST_P(LinesReportTest, ReportsWhatWasLeftUnreadOrWrittenWithoutNumbers) {
    Fixture f;
    writeBytes(f.request.sourcePath, GetParam().source);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.pointsWritten, GetParam().points);
    EXPECT_EQ(outcome.stoppedAtLine, GetParam().stoppedAtLine);
    EXPECT_EQ(outcome.linesNotConverted, GetParam().linesNotConverted);
    EXPECT_EQ(outcome.firstLinesWithoutCoordinates, GetParam().withoutCoordinates);
    EXPECT_EQ(outcome.linesWithoutCoordinates, GetParam().withoutCoordinates.size());
}

const std::string kHeader = "序号,解状态,点名,编码,X,Y,H\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, LinesReportTest,
    ::testing::Values(
        LinesRow{"ToTheEnd", kSource, 2, 0, 0, {}},
        LinesRow{"TrailingBlankLines", kSource + "\r\n\r\n  \r\n", 2, 0, 0, {}},
        LinesRow{"BlankLineThenPoints", kSource + "\r\n" + kSource + "\r\n \t\r\n", 2, 3, 2, {}},
        LinesRow{"LastLeftLineWithoutLineFeed", kSource + "\n\n" + kSource + "x", 2, 3, 3, {}},
        LinesRow{"ShortPoint", kSource + "1,2,P,K\r\n", 2, 3, 0, {}},
        LinesRow{"RestOfALongLine", "1,2,P," + std::string(251, '7') + "\n", 1, 1, 0, {1}},
        LinesRow{"AfterCtrlZNothingCounts", kSource + "\r\n\x1a" + kSource, 2, 0, 0, {}},
        LinesRow{"HeaderRow", kHeader + kSource, 3, 0, 0, {1}},
        LinesRow{
            "SignsAndPointsAreNoNumbers", "1,2,P,K,-,+.,.\n1,2,P,K,-.5,+5.,.5e\n", 2, 0, 0, {1}},
        LinesRow{
            "OwnKaisiOutputAsSource", "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n", 2, 0, 0, {1, 2}},
        LinesRow{"BinaryJunk",
                 std::string("\x01\x02\xff\xfe,\x80"
                             "abc,\x90"
                             "def,xyz\n") +
                     kSource,
                 3,
                 0,
                 0,
                 {1}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RunConversion, FolderHoldingTheOutputNameIsOutputCreateFailed) {
    Fixture f(velkaro::kCadItemText);
    fs::create_directory(f.dir.path() / "ptsCAD.dxf");
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(outcome.message, "创建转换文件错误:ptsCAD.dxf");
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\n");
    EXPECT_TRUE(fs::is_directory(f.dir.path() / "ptsCAD.dxf"));
}

TEST(RunConversion, MissingOutputFolderIsOutputCreateFailed) {
    Fixture f;
    f.request.outputFolder = f.dir.file("no-such-folder");
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(outcome.message, "创建转换文件错误:ptsCass.dat");
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
}

TEST(RunConversion, OutputNameTooLongForTheFileSystemIsOutputCreateFailed) {
    Fixture f;
    f.request.sourceFileName = std::string(300, 'n') + ".txt";
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
}

#ifndef _WIN32
TEST(RunConversion, ReadOnlyFolderIsOutputCreateFailed) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root ignores permission bits; the folder-name case covers creation";
    }
    Fixture f;
    fs::permissions(f.dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    fs::permissions(f.dir.path(), fs::perms::owner_all);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
}

// Runs a conversion in a child process whose files may not grow past limitBytes, so writing
// fails part way as on a full disk. Returns the outcome kind, or -1 when the child died.
int kindUnderFileSizeLimit(const ConversionRequest &request, rlim_t limitBytes) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // turn the signal into a failed write
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(static_cast<int>(velkaro::runConversion(request).kind));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RunConversion, FailedWriteKeepsTheEarlierOutputAndLeavesNoTemporaryFile) {
    Fixture f(velkaro::kCadItemText);
    std::string big;
    for (int i = 0; i < 20000; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\r\n";
    }
    writeBytes(f.request.sourcePath, big);
    writeBytes(f.dir.file("ptsCAD.dxf"), "earlier output");
    const rlim_t limit = big.size() + 4096; // the source fits, the larger DXF does not
    EXPECT_EQ(kindUnderFileSizeLimit(f.request, limit), static_cast<int>(Kind::OutputWriteFailed));
    EXPECT_EQ(readBytes(f.dir.file("ptsCAD.dxf")), "earlier output");
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\n");
}

TEST(RunConversion, WriteFailingInTheFirstBufferLeavesNothing) {
    Fixture f;
    std::string big;
    for (int i = 0; i < 3000; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\n";
    }
    writeBytes(f.request.sourcePath, big);
    // Nothing of the new output may be kept: 100 bytes is less than the first buffer.
    EXPECT_EQ(kindUnderFileSizeLimit(f.request, 100), static_cast<int>(Kind::OutputWriteFailed));
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
}
#endif

TEST(RunConversion, SourceIsNeverModified) {
    Fixture f(velkaro::kCadItemText);
    const auto before = fs::last_write_time(f.request.sourcePath);
    for (std::string_view text :
         {velkaro::kCassItemText, velkaro::kKaisiItemText, velkaro::kCadItemText}) {
        f.request.formatItemText = std::string(text);
        ASSERT_EQ(velkaro::runConversion(f.request).kind, Kind::Converted);
    }
    EXPECT_EQ(readBytes(f.request.sourcePath), kSource);
    EXPECT_EQ(fs::last_write_time(f.request.sourcePath), before);
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
}

} // namespace
