// Hostile and faulty inputs through runConversion: each gives its outcome and message,
// leaves nothing behind that was not asked for, keeps an earlier output whole, and never changes
// the source, whose bytes and modification time are compared after every run.

#include "conversion_run.h"
#include "hostile_support.h"
#include "reference_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::TargetFormat;
using velkaro::test::ChildEnd;
using velkaro::test::FileSnapshot;
using velkaro::test::listFolder;
using velkaro::test::modelConversion;
using velkaro::test::readBytes;
using velkaro::test::runInChild;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;
using Kind = ConversionOutcome::Kind;

using velkaro::test::kSource;

struct Format {
    TargetFormat format;
    velkaro::TargetFormat itemText;
    const char *suffix;
};
const Format kFormats[] = {{TargetFormat::Cass, velkaro::TargetFormat::Cass, "Cass.dat"},
                           {TargetFormat::Kaisi, velkaro::TargetFormat::Kaisi, "Kaisi.txt"},
                           {TargetFormat::Cad, velkaro::TargetFormat::Cad, "CAD.dxf"}};

ConversionRequest requestFor(const TempDir &dir, const std::string &name,
                             velkaro::TargetFormat itemText = velkaro::TargetFormat::Cass) {
    ConversionRequest request;
    request.sourcePath = dir.file(name);
    request.sourceFileName = name;
    request.format = itemText;
    request.outputFolder = dir.path().string();
    return request;
}

// ---------------------------------------------------------------------------------------------
// The source: missing, a folder, unreadable, deleted between browse and convert.

void expectOpenFailed(const ConversionRequest &request, const TempDir &dir,
                      const std::string &listing) {
    for (const Format &f : kFormats) {
        ConversionRequest r = request;
        r.format = f.itemText;
        const ConversionOutcome outcome = velkaro::runConversion(r);
        EXPECT_EQ(outcome.kind, Kind::SourceOpenFailed) << f.suffix;
        EXPECT_EQ(outcome.pointsWritten, 0u);
        EXPECT_EQ(listFolder(dir.path()), listing) << "nothing may be created";
    }
}

TEST(HostileSource, Missing) {
    TempDir dir;
    expectOpenFailed(requestFor(dir, "missing.txt"), dir, "");
}

TEST(HostileSource, AFolder) {
    TempDir dir;
    fs::create_directory(dir.path() / "folder.txt");
    expectOpenFailed(requestFor(dir, "folder.txt"), dir, "folder.txt\n");
}

TEST(HostileSource, DeletedBetweenBrowseAndConvert) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    const ConversionRequest request = requestFor(dir, "pts.txt"); // "browse"
    fs::remove(dir.file("pts.txt"));
    expectOpenFailed(request, dir, "");
}

TEST(HostileSource, ReplacedByAFolderBetweenBrowseAndConvert) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    const ConversionRequest request = requestFor(dir, "pts.txt");
    fs::remove(dir.file("pts.txt"));
    fs::create_directory(dir.file("pts.txt"));
    expectOpenFailed(request, dir, "pts.txt\n");
}

TEST(HostileSource, DanglingLink) {
    TempDir dir;
    fs::create_symlink(dir.file("deleted.txt"), dir.file("pts.txt"));
    expectOpenFailed(requestFor(dir, "pts.txt"), dir, "pts.txt\n");
}

TEST(HostileSource, PathLongerThanTheSystemAllows) {
    TempDir dir;
    std::string path = dir.path().string();
    while (path.size() < 5000) {
        path += "/" + std::string(200, 'd');
    }
    ConversionRequest request = requestFor(dir, "pts.txt");
    request.sourcePath = path + "/pts.txt";
    expectOpenFailed(request, dir, "");
}

// Root ignores permission bits: these runs drop to the user nobody in a child process, which
// reports the outcome kind as its exit code.
#define SKIP_UNLESS_NOBODY_WORKS()                                                                 \
    if (!velkaro::test::canRunAsNobody()) {                                                        \
        GTEST_SKIP() << "root here cannot drop to the user nobody";                                \
    }

int kindAsNobody(const ConversionRequest &request) {
    const ChildEnd end =
        runInChild([&] { return static_cast<int>(velkaro::runConversion(request).kind); }, true);
    return end.exitCode;
}

TEST(HostileSource, UnreadableFile) {
    SKIP_UNLESS_NOBODY_WORKS()
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    fs::permissions(dir.file("pts.txt"), fs::perms::none);
    const FileSnapshot source(dir.file("pts.txt"));
    EXPECT_EQ(kindAsNobody(requestFor(dir, "pts.txt")), static_cast<int>(Kind::SourceOpenFailed));
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileSource, FolderThatCannotBeEntered) {
    SKIP_UNLESS_NOBODY_WORKS()
    TempDir dir;
    fs::create_directory(dir.path() / "private");
    writeBytes(dir.file("private/pts.txt"), kSource);
    fs::permissions(dir.path() / "private", fs::perms::owner_all);
    ConversionRequest request = requestFor(dir, "pts.txt");
    request.sourcePath = dir.file("private/pts.txt");
    EXPECT_EQ(kindAsNobody(request), static_cast<int>(Kind::SourceOpenFailed));
    EXPECT_EQ(listFolder(dir.path()), "private\n");
    EXPECT_EQ(listFolder(dir.path() / "private"), "pts.txt\n");
}

// ---------------------------------------------------------------------------------------------
// Hostile content: every format converts it to exactly what the reference model says, the
// counts agree, only the output is added, and the source stays as it was.

void expectAsModel(const std::string &bytes, const std::string &what) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), bytes);
    const FileSnapshot source(dir.file("pts.txt"));
    for (const Format &f : kFormats) {
        const ConversionOutcome outcome =
            velkaro::runConversion(requestFor(dir, "pts.txt", f.itemText));
        ASSERT_EQ(outcome.kind, Kind::Converted) << what << ": " << outcome;
        const velkaro::test::ModelRun model = modelConversion(bytes, f.format);
        EXPECT_EQ(outcome.pointsWritten, model.linesTaken) << what << " " << f.suffix;
        EXPECT_EQ(outcome.reading.stoppedAtLine, model.stoppedAtLine) << what << " " << f.suffix;
        const std::string output = readBytes(outcome.outputPath);
        EXPECT_TRUE(output == model.output)
            << what << " " << f.suffix << ": output of " << output.size() << " bytes differs";
        fs::remove(outcome.outputPath);
        EXPECT_EQ(listFolder(dir.path()), "pts.txt\n") << what;
    }
    EXPECT_EQ(source.changes(), "") << what;
}

std::string randomBytes(std::uint32_t seed, std::size_t size, bool avoidStops) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes) {
        c = static_cast<char>(random() & 0xff);
        // Without NUL and 0x1A, reading goes on until a short line.
        while (avoidStops && (c == '\0' || c == '\x1a')) {
            c = static_cast<char>(random() & 0xff);
        }
    }
    return bytes;
}

TEST(HostileContent, BinaryJunk) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        expectAsModel(randomBytes(seed, 4096u << seed, false), "junk " + std::to_string(seed));
        expectAsModel(randomBytes(seed, 4096u << seed, true),
                      "junk without NUL and 0x1A " + std::to_string(seed));
    }
    // Junk after good points, and good points after junk.
    expectAsModel(kSource + randomBytes(7, 100000, true), "points then junk");
    expectAsModel(randomBytes(8, 100000, true) + "\n" + kSource, "junk then points");
    // The delimiters and line ends alone, shuffled.
    std::mt19937 random(9);
    std::string delimiters;
    for (int i = 0; i < 200000; ++i) {
        delimiters += ",\t\r\n"[random() % 4];
    }
    expectAsModel(delimiters, "delimiters only");
}

TEST(HostileContent, NulBytes) {
    expectAsModel(std::string(4096, '\0'), "4096 NUL bytes");
    expectAsModel(std::string(200, '\0'), "200 NUL bytes");
    expectAsModel(std::string(1, '\0'), "one NUL byte");
    expectAsModel(std::string("1,2,P1,K\0"
                              "1,10.5,20.5,3.0\n",
                              25) +
                      kSource,
                  "NUL in a field");
    expectAsModel(kSource + std::string("\0"
                                        "1,2,P3,K3,1,2,3\r\n",
                                        18),
                  "NUL starting a line");
    expectAsModel(kSource + std::string("1,2,P3,K3\0,1,2,3\r\n", 18), "NUL after ten bytes");
    std::string every;
    for (int i = 0; i < 300; ++i) {
        every += std::string("1,2,P") + std::to_string(i) + std::string(",K\0X,1,2,3\r\n", 12);
    }
    expectAsModel(every, "NUL in every line");
}

TEST(HostileContent, LinesOfOneMegabyte) {
    const std::size_t mb = 1 << 20;
    expectAsModel(std::string(mb, 'x') + "\n" + kSource, "1 MB of one letter");
    expectAsModel(std::string(mb, ',') + "\n" + kSource, "1 MB of commas");
    expectAsModel(std::string(mb, '\t'), "1 MB of tabs, no line feed");
    std::string fields;
    while (fields.size() < mb) {
        fields += "1,2,P1,K1,3515102.9358,516181.7499,42.7988,";
    }
    expectAsModel(fields + "\r\n" + kSource, "1 MB line of fields");
    std::string digits = "1,2,P,K,";
    digits.append(mb, '7');
    expectAsModel(digits + ",1e999,-0\n", "1 MB number");
    expectAsModel(kSource + std::string(mb, 'y') + kSource, "1 MB line in the middle");
}

TEST(HostileContent, NoLineFeedAtAll) {
    expectAsModel("1,2,P1,K1,10.5,20.5,3.0", "one point without a line feed");
    std::string crOnly;
    for (int i = 0; i < 4000; ++i) {
        crOnly += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\r";
    }
    expectAsModel(crOnly, "CR-only line ends");
    expectAsModel(std::string(300000, 'A'), "300000 letters");
}

TEST(HostileContent, OnlyCrBytes) {
    for (std::size_t size : {1u, 9u, 10u, 254u, 255u, 256u, 265u, 100000u}) {
        expectAsModel(std::string(size, '\r'), std::to_string(size) + " CR bytes");
    }
    expectAsModel(std::string(1000, '\r') + "\n", "CR bytes, then one LF");
}

TEST(HostileContent, CtrlZAtEveryPosition) {
    const std::string small = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,1d2,-0,7\r\n";
    for (std::size_t at = 0; at <= small.size(); ++at) {
        const std::string prefix = small.substr(0, at);
        std::string inserted = small;
        inserted.insert(at, 1, '\x1a');
        expectAsModel(inserted, "0x1A inserted at " + std::to_string(at));
        // Independent of the model: the same output as the bytes before the 0x1A alone.
        for (const Format &f : kFormats) {
            TempDir a;
            TempDir b;
            writeBytes(a.file("pts.txt"), inserted);
            writeBytes(b.file("pts.txt"), prefix);
            const ConversionOutcome withCtrlZ =
                velkaro::runConversion(requestFor(a, "pts.txt", f.itemText));
            const ConversionOutcome cut =
                velkaro::runConversion(requestFor(b, "pts.txt", f.itemText));
            EXPECT_EQ(readBytes(withCtrlZ.outputPath), readBytes(cut.outputPath)) << at;
            EXPECT_EQ(withCtrlZ.pointsWritten, cut.pointsWritten) << at;
        }
        if (at < small.size()) {
            std::string replaced = small;
            replaced[at] = '\x1a';
            expectAsModel(replaced, "0x1A in place of byte " + std::to_string(at));
        }
    }
}

TEST(ReferenceModel, AgreesWithTheExamplesOfPart12) {
    using velkaro::test::modelFixed6;
    EXPECT_EQ(modelFixed6("0.1234565"), "0.123457");
    EXPECT_EQ(modelFixed6("12345678901.0078125"), "12345678901.007813");
    EXPECT_EQ(modelFixed6("-0"), "-0.000000");
    EXPECT_EQ(modelFixed6("-"), "0.000000");
    EXPECT_EQ(modelFixed6("1e999"), "1.#INF00");
    EXPECT_EQ(modelFixed6("-1D999"), "-1.#INF00");
    EXPECT_EQ(modelFixed6(" 12.5m"), "12.500000");
    EXPECT_EQ(modelFixed6("1.5d2"), "150.000000");
    EXPECT_EQ(modelFixed6("0x10"), "0.000000");
    EXPECT_EQ(modelFixed6("inf"), "0.000000");
    EXPECT_EQ(modelFixed6("-1e-999"), "-0.000000");
    EXPECT_EQ(modelFixed6("-0.0000004"), "-0.000000");
    // The double nearest 5e-7 is 4.99999999999999977e-7: 17 digits give 4.9999999999999998e-7.
    EXPECT_EQ(modelFixed6("0.0000005"), "0.000000");
    EXPECT_EQ(modelFixed6("1.0000005"), "1.000001");
    EXPECT_EQ(modelFixed6("1.7976931348623157e308").substr(0, 18), "179769313486231570");
    const velkaro::test::ModelRun run = modelConversion(kSource, TargetFormat::Cass);
    EXPECT_EQ(run.output, "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
    EXPECT_EQ(run.linesTaken, 2u);
}

// ---------------------------------------------------------------------------------------------
// The output: read-only folder, folder gone, a folder in the way, a full disk, a failure in the
// middle of a large write. An earlier output stays whole and no temporary file remains.

struct OutputFixture {
    TempDir dir;
    std::string out;
    explicit OutputFixture(const std::string &source = kSource) : out(dir.file("out")) {
        writeBytes(dir.file("pts.txt"), source);
        fs::create_directory(out);
    }
    ConversionRequest request(const Format &f) const {
        ConversionRequest r = requestFor(dir, "pts.txt", f.itemText);
        r.outputFolder = out;
        return r;
    }
};

std::string bigSource(int points) {
    std::string big;
    for (int i = 0; i < points; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\r\n";
    }
    return big;
}

TEST(HostileOutput, ReadOnlyFolderKeepsTheEarlierOutput) {
    SKIP_UNLESS_NOBODY_WORKS()
    OutputFixture f;
    const FileSnapshot source(f.dir.file("pts.txt"));
    for (const Format &format : kFormats) {
        writeBytes(f.out + "/pts" + format.suffix, "earlier");
    }
    const std::string listing = listFolder(f.out);
    fs::permissions(f.out, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    for (const Format &format : kFormats) {
        EXPECT_EQ(kindAsNobody(f.request(format)), static_cast<int>(Kind::OutputCreateFailed));
        EXPECT_EQ(readBytes(f.out + "/pts" + format.suffix), "earlier");
    }
    EXPECT_EQ(listFolder(f.out), listing);
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileOutput, FolderGone) {
    OutputFixture f;
    const FileSnapshot source(f.dir.file("pts.txt"));
    fs::remove(f.out);
    for (const Format &format : kFormats) {
        const ConversionOutcome outcome = velkaro::runConversion(f.request(format));
        EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
        EXPECT_EQ(outcome.outputFileName, std::string("pts") + format.suffix);
        EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::NotFound);
    }
    EXPECT_EQ(listFolder(f.dir.path()), "pts.txt\n");
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileOutput, FolderIsAFile) {
    OutputFixture f;
    fs::remove(f.out);
    writeBytes(f.out, "a file");
    for (const Format &format : kFormats) {
        EXPECT_EQ(velkaro::runConversion(f.request(format)).kind, Kind::OutputCreateFailed);
    }
    EXPECT_EQ(readBytes(f.out), "a file");
    EXPECT_EQ(listFolder(f.dir.path()), "out\npts.txt\n");
}

TEST(HostileOutput, AFolderOccupiesTheOutputName) {
    OutputFixture f;
    const FileSnapshot source(f.dir.file("pts.txt"));
    for (const Format &format : kFormats) {
        fs::create_directory(f.out + "/pts" + format.suffix);
        writeBytes(f.out + "/pts" + format.suffix + "/inside", "kept");
        const ConversionOutcome outcome = velkaro::runConversion(f.request(format));
        EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
        EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::IsFolder);
        EXPECT_EQ(readBytes(f.out + "/pts" + format.suffix + "/inside"), "kept");
    }
    EXPECT_EQ(listFolder(f.out), "ptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileOutput, FullDiskKeepsTheEarlierOutputAndLeavesNoTemporaryFile) {
    TempDir dir;
    velkaro::test::SmallDisk disk(dir, "size=64k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "needs root and tmpfs; MiddleOfALargeWrite covers the same by RLIMIT_FSIZE";
    }
    const std::string big = bigSource(2000); // about 110 KB: no output of it fits in 64 KB
    writeBytes(dir.file("pts.txt"), big);
    const FileSnapshot source(dir.file("pts.txt"));
    for (const Format &format : kFormats) {
        writeBytes(disk.path() + "/pts" + format.suffix, "earlier " + std::string(format.suffix));
    }
    velkaro::test::fillDisk(disk.path() + "/filler"); // leaves not a byte free
    fs::remove(disk.path() + "/filler");
    writeBytes(disk.path() + "/filler", std::string(20000, 'f')); // about 44 KB free
    const std::string listing = listFolder(disk.path());
    for (const Format &format : kFormats) {
        ConversionRequest request = requestFor(dir, "pts.txt", format.itemText);
        request.outputFolder = disk.path();
        const ConversionOutcome outcome = velkaro::runConversion(request);
        EXPECT_EQ(outcome.kind, Kind::OutputWriteFailed) << format.suffix;
        EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::DiskFull) << outcome;
        EXPECT_EQ(outcome.failure->path, disk.path() + "/pts" + format.suffix);
        EXPECT_EQ(readBytes(disk.path() + "/pts" + format.suffix),
                  "earlier " + std::string(format.suffix));
    }
    EXPECT_EQ(listFolder(disk.path()), listing) << "a temporary file was left";
    EXPECT_EQ(source.changes(), "");

    // With room again, the same run succeeds and replaces the earlier output.
    fs::remove(disk.path() + "/filler");
    ConversionRequest request = requestFor(dir, "pts.txt", velkaro::TargetFormat::Kaisi);
    request.outputFolder = disk.path();
    writeBytes(dir.file("small.txt"), kSource);
    request.sourcePath = dir.file("small.txt");
    EXPECT_EQ(velkaro::runConversion(request).kind, Kind::Converted);
    EXPECT_EQ(readBytes(disk.path() + "/ptsKaisi.txt"), "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n");
}

TEST(HostileOutput, DiskWithoutRoomForOneMoreFile) {
    TempDir dir;
    velkaro::test::SmallDisk disk(dir, "size=64k,nr_inodes=2");
    if (!disk.mounted()) {
        GTEST_SKIP() << "needs root and tmpfs";
    }
    writeBytes(dir.file("pts.txt"), kSource);
    writeBytes(disk.path() + "/ptsCass.dat", "earlier"); // the only file that fits
    ConversionRequest request = requestFor(dir, "pts.txt");
    request.outputFolder = disk.path();
    const ConversionOutcome outcome = velkaro::runConversion(request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::DiskFull) << outcome;
    EXPECT_EQ(readBytes(disk.path() + "/ptsCass.dat"), "earlier");
    EXPECT_EQ(listFolder(disk.path()), "ptsCass.dat\n");
}

// Files may not grow past the limit in the child, as on a disk that fills up during the run.
int kindUnderFileSizeLimit(const ConversionRequest &request, rlim_t limitBytes) {
    return runInChild([&] {
               std::signal(SIGXFSZ, SIG_IGN);
               const rlimit limit{limitBytes, limitBytes};
               setrlimit(RLIMIT_FSIZE, &limit);
               return static_cast<int>(velkaro::runConversion(request).kind);
           })
        .exitCode;
}

TEST(HostileOutput, FailureInTheMiddleOfALargeWrite) {
    const std::string big = bigSource(40000); // 2.2 MB; the DXF of it is about 5.6 MB
    OutputFixture f(big);
    const FileSnapshot source(f.dir.file("pts.txt"));
    for (const Format &format : kFormats) {
        writeBytes(f.out + "/pts" + format.suffix, "earlier");
        // The limit falls well inside the output, after many buffers were written.
        EXPECT_EQ(kindUnderFileSizeLimit(f.request(format), 1000000),
                  static_cast<int>(Kind::OutputWriteFailed))
            << format.suffix;
        EXPECT_EQ(readBytes(f.out + "/pts" + format.suffix), "earlier");
    }
    EXPECT_EQ(listFolder(f.out), "ptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
    EXPECT_EQ(source.changes(), "");
}

// ---------------------------------------------------------------------------------------------
// File names: spaces, leading dots, only dots, 255 bytes and more, bytes that are no UTF-8, "%",
// a line feed. Each real file converts into the name makeOutputFileName gives.

struct NameRow {
    std::string source;
    std::string stem;
};

class HostileNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(HostileNameTest, ConvertsBesideTheSourceUnderItsStem) {
    TempDir dir;
    const std::string &name = GetParam().source;
    writeBytes(dir.file(name), kSource);
    const FileSnapshot source(dir.file(name));
    for (const Format &f : kFormats) {
        const ConversionOutcome outcome = velkaro::runConversion(requestFor(dir, name, f.itemText));
        ASSERT_EQ(outcome.kind, Kind::Converted) << outcome;
        EXPECT_EQ(outcome.outputFileName, GetParam().stem + f.suffix);
        EXPECT_EQ(outcome.outputPath, dir.file(GetParam().stem + f.suffix));
        EXPECT_EQ(readBytes(outcome.outputPath), modelConversion(kSource, f.format).output);
    }
    EXPECT_EQ(source.changes(), "");
    EXPECT_EQ(fs::directory_entry(dir.path()).exists(), true);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileNameTest,
    ::testing::Values(
        NameRow{"my survey points.txt", "my survey points"},
        NameRow{" leading space.txt", " leading space"}, NameRow{".hidden.txt", "hidden"},
        NameRow{"...pts..txt", "pts"}, NameRow{"...", ""}, NameRow{"....", ""},
        NameRow{"\xd6\xd0\xce\xc4.txt", "\xd6\xd0\xce\xc4"},
        NameRow{"bad\x80\xff\xfe.txt", "bad\x80\xff\xfe"}, NameRow{"100%.txt", "100%"},
        NameRow{"%s%n%d.txt", "%s%n%d"}, NameRow{"two\nlines.txt", "two\nlines"},
        NameRow{"tab\there.txt", "tab\there"}, NameRow{"back\\slash.txt", "back\\slash"},
        NameRow{"-f.txt", "-f"}, NameRow{"p." + std::string(253, 'x'), "p"},
        NameRow{std::string(246, 'n') + ".txt", std::string(246, 'n')}));

TEST(HostileName, LongestFileNameGivesAnOutputNameTooLongForTheFolder) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".txt"; // 255 bytes, the most Linux allows
    writeBytes(dir.file(name), kSource);
    const FileSnapshot source(dir.file(name));
    for (const Format &f : kFormats) {
        const ConversionOutcome outcome = velkaro::runConversion(requestFor(dir, name, f.itemText));
        EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
        EXPECT_EQ(outcome.outputFileName, std::string(251, 'n') + f.suffix);
        EXPECT_EQ(outcome.failure->reason, velkaro::FailureReason::NameTooLong) << outcome;
    }
    EXPECT_EQ(listFolder(dir.path()), name + "\n");
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileName, FileNameOverTwoHundredFiftyFiveBytesTakesTheWholeStem) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    ConversionRequest request = requestFor(dir, "pts.txt");
    request.sourceFileName = std::string(1000, 's') + ".txt";
    const ConversionOutcome outcome = velkaro::runConversion(request);
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    EXPECT_EQ(outcome.outputFileName, std::string(1000, 's') + "Cass.dat");
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");
}

// ---------------------------------------------------------------------------------------------
// Never hangs: every conversion of a pathological source ends, well within a time bound.

constexpr auto kTimeBound = std::chrono::seconds(60);

void expectEndsInTime(const std::string &bytes, const std::string &what) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), bytes);
    for (const Format &f : kFormats) {
        const ConversionRequest request = requestFor(dir, "pts.txt", f.itemText);
        const ChildEnd end =
            runInChild([&] { return static_cast<int>(velkaro::runConversion(request).kind); },
                       false, kTimeBound);
        EXPECT_FALSE(end.timedOut) << what << " " << f.suffix << " did not end";
        EXPECT_EQ(end.exitCode, static_cast<int>(Kind::Converted)) << what;
        std::printf("  %s, %s: %.2f s\n", what.c_str(), f.suffix, end.seconds);
    }
}

TEST(NeverHangs, PathologicalSourcesEnd) {
    const std::size_t size = 16u << 20; // 16 MB each
    expectEndsInTime(std::string(size, '\r'), "16 MB of CR");
    expectEndsInTime(std::string(size, ','), "16 MB of commas");
    expectEndsInTime("1,2,P,K," + std::string(size, '9'), "a 16 MB number");
    expectEndsInTime(kSource + "\n" + std::string(size, ' '), "a stop, then 16 MB of blanks");
    std::string exponents;
    while (exponents.size() < size) {
        exponents += "1,2,P,K,1e-99999999999999999999,9d99999999999999,0." + std::string(150, '0') +
                     "1e150\n";
    }
    expectEndsInTime(exponents, "16 MB of extreme numbers");
}

} // namespace
#endif
