#include "conversion_run.h"
#include "file_names.h"
#include "file_system_path.h"

#include "outcome_printer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
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

using velkaro::test::kSource;

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

    explicit Fixture(velkaro::TargetFormat itemText = velkaro::TargetFormat::Cass) {
        request.sourcePath = dir.file("pts.txt");
        request.sourceFileName = "pts.txt";
        request.format = itemText;
        request.outputFolder = dir.folder();
        writeBytes(request.sourcePath, kSource);
    }
};

TEST(RunConversion, ChecksSourceBeforeFormat) {
    ConversionRequest empty;
    const ConversionOutcome noSource = velkaro::runConversion(empty);
    EXPECT_EQ(noSource.kind, Kind::NoSource);
    empty.format = velkaro::TargetFormat::Cad;
    EXPECT_EQ(velkaro::runConversion(empty).kind, Kind::NoSource);
}

TEST(RunConversion, MissingFormatIsNoFormat) {
    Fixture f;
    f.request.format.reset();
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::NoFormat);
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
}

TEST(RunConversion, ConvertedMessageNamesTheOutput) {
    Fixture f(velkaro::TargetFormat::Kaisi);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::Converted);
    EXPECT_EQ(outcome.outputFileName, "ptsKaisi.txt");
    EXPECT_EQ(outcome.sourcePath, f.request.sourcePath);
    EXPECT_EQ(outcome.outputPath, f.dir.file("ptsKaisi.txt"));
    EXPECT_EQ(outcome.pointsWritten, 2u);
    EXPECT_EQ(outcome.reading.stoppedAtLine, 0u);
    EXPECT_EQ(readBytes(outcome.outputPath), "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n");
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsKaisi.txt\n");
}

// The folder's flush left to the caller: the outcome names the folder, and the output is in
// place all the same; by default the run flushes it and names none.
TEST(RunConversion, FolderSyncLaterNamesTheFolderToFlush) {
    Fixture f(velkaro::TargetFormat::Cad);
    EXPECT_FALSE(velkaro::runConversion(f.request).folderToSync.has_value());
    f.request.folderSyncLater = true;
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    ASSERT_EQ(outcome.kind, Kind::Converted);
    EXPECT_EQ(outcome.folderToSync, std::optional<std::string>(f.dir.folder()));
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\n");
    f.request.sourcePath = f.dir.file("missing.txt");
    EXPECT_FALSE(velkaro::runConversion(f.request).folderToSync.has_value());
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
        EXPECT_EQ(outcome.kind, Kind::Converted) << outcome;
        EXPECT_EQ(outcome.outputFileName, stem + "Cass.dat");
        EXPECT_EQ(readBytes(f.dir.file(stem + "Cass.dat")), "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
    }
}

TEST(RunConversion, NonAsciiOutputFolderGetsTheOutputAndNoTemporaryFile) {
    Fixture f;
    const std::string folder = f.dir.file("\xb2\xe2\xc1\xbf"); // 测量 in GBK
    fs::create_directory(velkaro::toFileSystemPath(folder));
    f.request.outputFolder = folder;
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::Converted) << outcome;
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
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->path, f.request.sourcePath);
        EXPECT_EQ(outcome.failure->reason, path == "." ? velkaro::FailureReason::IsFolder
                                                       : velkaro::FailureReason::NotFound);
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
    EXPECT_EQ(outcome.reading.stoppedAtLine, 1u);
}

// What a run reports about the lines it did not convert or took without coordinates.
struct LinesRow {
    const char *name;
    std::string source;
    std::uint64_t points = 0;
    std::uint64_t stoppedAtLine = 0;
    std::uint64_t linesNotConverted = 0;
    std::vector<std::uint64_t> withoutCoordinates = {}; // all of them: the tables stay under ten
    velkaro::StopReason stop = velkaro::StopReason::EndOfFile;
    std::vector<std::uint64_t> zeroBytes = {};
    bool notText = false;
};

class LinesReportTest : public ::testing::TestWithParam<LinesRow> {};

TEST_P(LinesReportTest, ReportsWhatWasLeftUnreadOrWrittenWithoutNumbers) {
    Fixture f;
    writeBytes(f.request.sourcePath, GetParam().source);
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    const velkaro::ReadingReport &reading = outcome.reading;
    EXPECT_EQ(outcome.pointsWritten, GetParam().points);
    EXPECT_EQ(reading.stoppedAtLine, GetParam().stoppedAtLine);
    EXPECT_EQ(reading.linesNotConverted, GetParam().linesNotConverted);
    EXPECT_EQ(reading.withoutCoordinates.first, GetParam().withoutCoordinates);
    EXPECT_EQ(reading.withoutCoordinates.count, GetParam().withoutCoordinates.size());
    EXPECT_EQ(reading.stop, GetParam().stop);
    EXPECT_EQ(reading.zeroBytes.first, GetParam().zeroBytes);
    EXPECT_EQ(reading.notText, GetParam().notText);
}

const std::string kHeader = "序号,解状态,点名,编码,X,Y,H\r\n";
constexpr auto kShortLine = velkaro::StopReason::ShortLine;

INSTANTIATE_TEST_SUITE_P(
    Rows, LinesReportTest,
    ::testing::Values(
        LinesRow{"ToTheEnd", kSource, 2}, LinesRow{"Empty", ""},
        LinesRow{"BlankLinesOnly", "\r\n \r\n\t\r\n"},
        LinesRow{"TrailingBlankLines", kSource + "\r\n\r\n  \r\n", 2},
        LinesRow{"BlankLineThenPoints",
                 kSource + "\r\n" + kSource + "\r\n \t\r\n",
                 2,
                 3,
                 2,
                 {},
                 kShortLine},
        LinesRow{"LastLeftLineWithoutLineFeed",
                 kSource + "\n\n" + kSource + "x",
                 2,
                 3,
                 3,
                 {},
                 kShortLine},
        LinesRow{"ShortPoint", kSource + "1,2,P,K\r\n", 2, 3, 0, {}, kShortLine},
        LinesRow{"RestOfALongLine",
                 "1,2,P," + std::string(251, '7') + "\n",
                 1,
                 1,
                 0,
                 {1},
                 kShortLine,
                 {},
                 true},
        LinesRow{"CtrlZCutsThePoints",
                 kSource + "\x1a" + kSource,
                 2,
                 3,
                 2,
                 {},
                 velkaro::StopReason::EndOfFileByte},
        LinesRow{"CtrlZAfterABlankLine", kSource + "\r\n\x1a" + kSource, 2, 3, 2, {}, kShortLine},
        LinesRow{"TrailingCtrlZ", kSource + "\x1a\x1a\r\n", 2},
        LinesRow{"ZeroByteEndsAShortLine",
                 kSource + std::string("1,2\0,P3,K,1,2,3\n", 16) + kSource,
                 2,
                 3,
                 2,
                 {},
                 velkaro::StopReason::ZeroByte},
        LinesRow{"ZeroByteCutsALine",
                 std::string("1,2,P1,K1,10.5\0,20.5,3\n", 23) + kSource,
                 3,
                 0,
                 0,
                 {1},
                 velkaro::StopReason::EndOfFile,
                 {1}},
        // A zero byte in every line, as in a binary file: no text export, whatever it converts.
        LinesRow{"ZeroBytesInEveryLine",
                 std::string("1,2,P1,K1,10.5,20.5,3.0\0\x01\r\n1,2,P2,K2,11,21,4\0\x02\r\n", 48),
                 2,
                 0,
                 0,
                 {},
                 velkaro::StopReason::EndOfFile,
                 {1, 2},
                 true},
        // UTF-16: the zero byte after the first character ends the first line and the reading.
        LinesRow{"Utf16StopsAtItsFirstLine",
                 std::string("1\0,\0002\0,\0P\0\n\0", 12),
                 0,
                 1,
                 1,
                 {},
                 velkaro::StopReason::ZeroByte,
                 {},
                 true},
        LinesRow{"HeaderRow", kHeader + kSource, 3, 0, 0, {1}},
        LinesRow{
            "SignsAndPointsAreNoNumbers", "1,2,P,K,-,+.,.\n1,2,P,K,-.5,+5.,.5e\n", 2, 0, 0, {1}},
        LinesRow{"OwnKaisiOutputAsSource",
                 "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n",
                 2,
                 0,
                 0,
                 {1, 2},
                 velkaro::StopReason::EndOfFile,
                 {},
                 true},
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

// A line with too few fields is written with the point before's values where it has none; the
// run names those lines, the bytes staying the old tool's.
TEST(RunConversion, LinesThatCarryThePointBeforesValuesAreNamed) {
    const std::pair<std::string, std::vector<std::uint64_t>> rows[] = {
        {kSource, {}},
        {kSource + "1,2,,K3,12.5,22.5,5.0\r\n1,2,P4,K4,13.5\r\n", {3, 4}},
        {"P1,K1,10.5,20.5,3.0\r\n" + kSource, {1}},
        {"1,2,P1,K1,10.5,20.5,3.0,extra\r\n" + kSource, {}},
    };
    for (const auto &[source, lines] : rows) {
        Fixture f;
        writeBytes(f.request.sourcePath, source);
        const ConversionOutcome outcome = velkaro::runConversion(f.request);
        EXPECT_EQ(outcome.reading.carriedOver.first, lines) << source;
        const auto warnings = velkaro::warningsOf(outcome);
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(),
                             velkaro::WarningKind::FieldsCarriedOver),
                  lines.empty() ? 0 : 1)
            << source;
    }
}

TEST(RunConversion, FolderHoldingTheOutputNameIsOutputCreateFailed) {
    Fixture f(velkaro::TargetFormat::Cad);
    fs::create_directory(f.dir.path() / "ptsCAD.dxf");
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::IsFolder);
    EXPECT_EQ(outcome.failure->path, f.dir.file("ptsCAD.dxf"));
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\n");
    EXPECT_TRUE(fs::is_directory(f.dir.path() / "ptsCAD.dxf"));
}

TEST(RunConversion, MissingOutputFolderIsOutputCreateFailed) {
    Fixture f;
    f.request.outputFolder = f.dir.file("no-such-folder");
    const ConversionOutcome outcome = velkaro::runConversion(f.request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::NotFound);
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
    Fixture f(velkaro::TargetFormat::Cad);
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
    Fixture f(velkaro::TargetFormat::Cad);
    const auto before = fs::last_write_time(f.request.sourcePath);
    for (const TargetFormat format : velkaro::kTargetFormats) {
        f.request.format = format;
        ASSERT_EQ(velkaro::runConversion(f.request).kind, Kind::Converted);
    }
    EXPECT_EQ(readBytes(f.request.sourcePath), kSource);
    EXPECT_EQ(fs::last_write_time(f.request.sourcePath), before);
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
}

} // namespace
