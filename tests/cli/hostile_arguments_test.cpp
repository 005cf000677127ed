// Hostile and faulty inputs through velkaro-convert: the same cases as
// hostile_input_test.cpp, seen from the command line: exit status, messages on standard error,
// the files left in the folders, and the source unchanged after every run.

#include "hostile_support.h"
#include "reference_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velkaro::TargetFormat;
using velkaro::test::FileSnapshot;
using velkaro::test::listFolder;
using velkaro::test::modelConversion;
using velkaro::test::ProgramRun;
using velkaro::test::readBytes;
using velkaro::test::runConverter;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;

using velkaro::test::kSource;
const std::string kOpenFailed = "打开源文件错误，请重新选择!";

struct Format {
    TargetFormat format;
    const char *suffix;
};
const Format kFormats[] = {{TargetFormat::Cass, "Cass.dat"},
                           {TargetFormat::Kaisi, "Kaisi.txt"},
                           {TargetFormat::Cad, "CAD.dxf"}};

// What one failure prints: its sentence, the file and the reason, each line after the source.
std::string failureText(const std::string &source, const std::string &headline,
                        const std::string &where, const std::string &reason) {
    const std::string prefix = "velkaro-convert: " + source + ": ";
    return prefix + headline + "\n" + prefix + "位置: " + where + "\n" + prefix +
           "原因: " + reason + "。\n";
}

// The failures of "-f all" for one source whose outputs are all refused for one reason: the
// headline and the place end in each output's name (the place inside folder).
std::string failureLines(const std::string &source, const std::string &headline,
                         const std::string &stem, const std::string &folder,
                         const std::string &reason) {
    std::string lines;
    for (const Format &f : kFormats) {
        const std::string output = stem + f.suffix;
        lines += failureText(source, headline + output, folder + output, reason);
    }
    return lines;
}

// A source that cannot be opened, once per format.
std::string openFailedLines(const std::string &source, const std::string &reason) {
    std::string lines;
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
        lines += failureText(source, kOpenFailed, source, reason);
    }
    return lines;
}

// Runs the converter as the user nobody when the tests run as root (root ignores permission
// bits). The program is copied into the test's folder first, so that nobody can reach it
// wherever the build folder lies.
ProgramRun runAsNobody(const TempDir &dir, const std::vector<std::string> &arguments,
                       const fs::path &folder) {
    const std::string copy = dir.file("velkaro-convert");
    if (!fs::exists(copy)) {
        fs::copy_file(velkaro::test::converterPath(), copy);
        fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    }
    const std::string prefix =
        velkaro::test::runningAsRoot() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    return runConverter(folder, arguments, prefix, copy);
}

// ---------------------------------------------------------------------------------------------
// The source.

TEST(HostileCliSource, MissingFolderDanglingLinkTooLongPath) {
    TempDir dir;
    fs::create_directory(dir.path() / "folder.txt");
    fs::create_symlink(dir.file("deleted.txt"), dir.file("link.txt"));
    std::string longPath = dir.path().string();
    while (longPath.size() < 5000) {
        longPath += "/" + std::string(200, 'd');
    }
    longPath += "/pts.txt";
    const std::pair<std::string, std::string> rows[] = {{"missing.txt", "文件或文件夹不存在"},
                                                        {"folder.txt", "这是一个文件夹"},
                                                        {"link.txt", "文件或文件夹不存在"},
                                                        {longPath, "文件名或路径太长"}};
    for (const auto &[source, reason] : rows) {
        const ProgramRun run = runConverter(dir.path(), {"-f", "all", source});
        EXPECT_EQ(run.status, 1) << source;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, openFailedLines(source, reason)) << source.substr(0, 40);
        EXPECT_EQ(listFolder(dir.path()), "folder.txt\nlink.txt\n");
    }
}

TEST(HostileCliSource, UnreadableFileAndFolder) {
    if (!velkaro::test::canRunAsNobody()) {
        GTEST_SKIP() << "root here cannot drop to the user nobody";
    }
    TempDir dir;
    fs::create_directory(dir.path() / "work");
    writeBytes(dir.file("work/pts.txt"), kSource);
    fs::permissions(dir.file("work/pts.txt"), fs::perms::none);
    fs::create_directory(dir.path() / "work/private");
    writeBytes(dir.file("work/private/pts.txt"), kSource);
    fs::permissions(dir.path() / "work/private", fs::perms::owner_all);
    const FileSnapshot source(dir.file("work/pts.txt"));
    const ProgramRun run =
        runAsNobody(dir, {"-f", "cass", "pts.txt", "private/pts.txt"}, dir.path() / "work");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              failureText("pts.txt", kOpenFailed, "pts.txt", "没有读取权限") +
                  failureText("private/pts.txt", kOpenFailed, "private/pts.txt", "没有读取权限"));
    EXPECT_EQ(listFolder(dir.path() / "work"), "private\npts.txt\n");
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileCliSource, LaterSourcesStillConvertAfterEveryKindOfFailure) {
    TempDir dir;
    writeBytes(dir.file("good.txt"), kSource);
    fs::create_directory(dir.path() / "folder.txt");
    const ProgramRun run =
        runConverter(dir.path(), {"-f", "kaisi", "missing.txt", "folder.txt", "", "good.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "good.txt -> goodKaisi.txt (2 点)\n");
    EXPECT_EQ(run.err,
              failureText("missing.txt", kOpenFailed, "missing.txt", "文件或文件夹不存在") +
                  failureText("folder.txt", kOpenFailed, "folder.txt", "这是一个文件夹") +
                  "velkaro-convert: : 请选择源文件\n");
}

// ---------------------------------------------------------------------------------------------
// Hostile content: "-f all" writes exactly what the reference model says.

void expectCliAsModel(const std::string &bytes, const std::string &what) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), bytes);
    const FileSnapshot source(dir.file("pts.txt"));
    const ProgramRun run = runConverter(dir.path(), {"-f", "all", "pts.txt"});
    EXPECT_EQ(run.status, 0) << what << ": " << run.err;
    std::string out;
    for (const Format &f : kFormats) {
        const velkaro::test::ModelRun model = modelConversion(bytes, f.format);
        out += std::string("pts.txt -> pts") + f.suffix + " (" + std::to_string(model.linesTaken) +
               " 点)\n";
        EXPECT_TRUE(readBytes(dir.file(std::string("pts") + f.suffix)) == model.output)
            << what << " " << f.suffix;
    }
    EXPECT_EQ(run.out, out) << what;
    const std::uint64_t stopped = modelConversion(bytes, TargetFormat::Cass).stoppedAtLine;
    // Junk lines are taken as points without coordinates: warnings, never errors.
    std::istringstream warnings(run.err);
    for (std::string warning; std::getline(warnings, warning);) {
        EXPECT_TRUE(warning.starts_with("velkaro-convert: pts.txt: 警告: "))
            << what << ": " << warning;
    }
    if (stopped == 0) {
        EXPECT_EQ(run.err.find("读取在此停止"), std::string::npos) << what;
    } else {
        EXPECT_NE(run.err.find("pts.txt: 警告: 第 " + std::to_string(stopped) + " 行"),
                  std::string::npos)
            << what << ": " << run.err;
    }
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n") << what;
    EXPECT_EQ(source.changes(), "") << what;
}

std::string randomBytes(std::uint32_t seed, std::size_t size) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes) {
        do {
            c = static_cast<char>(random() & 0xff);
        } while (c == '\0' || c == '\x1a');
    }
    return bytes;
}

TEST(HostileCliContent, JunkNulLongLinesNoLineFeedOnlyCr) {
    std::mt19937 random(1);
    std::string junk(200000, '\0');
    for (char &c : junk) {
        c = static_cast<char>(random() & 0xff);
    }
    expectCliAsModel(junk, "binary junk");
    expectCliAsModel(kSource + randomBytes(2, 200000), "points, then junk without NUL");
    expectCliAsModel(std::string(4096, '\0'), "NUL bytes");
    expectCliAsModel(std::string("1,2,P1,K\0"
                                 "1,10.5,20.5,3.0\n",
                                 25) +
                         kSource,
                     "NUL in a field");
    expectCliAsModel(std::string(1 << 20, 'x') + "\n" + kSource, "a line of 1 MB");
    expectCliAsModel(std::string(1 << 20, ','), "1 MB of commas without a line feed");
    std::string crOnly;
    for (int i = 0; i < 1000; ++i) {
        crOnly += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\r";
    }
    expectCliAsModel(crOnly, "no line feed at all");
    expectCliAsModel(std::string(100000, '\r'), "only CR bytes");
}

TEST(HostileCliContent, CtrlZAtEveryPosition) {
    const std::string small = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,1d2,-0,7\r\n";
    for (std::size_t at = 0; at <= small.size(); ++at) {
        std::string inserted = small;
        inserted.insert(at, 1, '\x1a');
        expectCliAsModel(inserted, "0x1A at " + std::to_string(at));
    }
}

// ---------------------------------------------------------------------------------------------
// The output.

struct OutputFixture {
    TempDir dir;
    explicit OutputFixture(const std::string &source = kSource) {
        writeBytes(dir.file("pts.txt"), source);
        fs::create_directory(dir.path() / "out");
        for (const Format &f : kFormats) {
            writeBytes(dir.file(std::string("out/pts") + f.suffix), "earlier");
        }
    }
    void expectEarlierOutputsWhole() const {
        EXPECT_EQ(listFolder(dir.path() / "out"), "ptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
        for (const Format &f : kFormats) {
            EXPECT_EQ(readBytes(dir.file(std::string("out/pts") + f.suffix)), "earlier");
        }
    }
};

TEST(HostileCliOutput, ReadOnlyFolder) {
    if (!velkaro::test::canRunAsNobody()) {
        GTEST_SKIP() << "root here cannot drop to the user nobody";
    }
    OutputFixture f;
    const FileSnapshot source(f.dir.file("pts.txt"));
    const ProgramRun run = runAsNobody(f.dir, {"-f", "all", "-o", "out", "pts.txt"}, f.dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, failureLines("pts.txt", "创建转换文件错误:", "pts", "out/",
                                    "没有写入权限 (文件或其所在的文件夹受保护)"));
    f.expectEarlierOutputsWhole();
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileCliOutput, FolderGoneOrAFile) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    writeBytes(dir.file("file"), "a file");
    for (const std::string &folder : {std::string("gone"), std::string("file")}) {
        const ProgramRun run = runConverter(dir.path(), {"-f", "all", "-o", folder, "pts.txt"});
        EXPECT_EQ(run.status, 1) << folder;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, failureLines("pts.txt", "创建转换文件错误:", "pts", folder + "/",
                                        "文件或文件夹不存在"));
    }
    EXPECT_EQ(listFolder(dir.path()), "file\npts.txt\n");
    EXPECT_EQ(readBytes(dir.file("file")), "a file");
}

TEST(HostileCliOutput, FoldersOccupyTheOutputNames) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    for (const Format &f : kFormats) {
        fs::create_directory(dir.path() / (std::string("pts") + f.suffix));
    }
    const FileSnapshot source(dir.file("pts.txt"));
    const ProgramRun run = runConverter(dir.path(), {"-f", "all", "pts.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, failureLines("pts.txt", "创建转换文件错误:", "pts", "", "这是一个文件夹"));
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
    EXPECT_EQ(source.changes(), "");
}

std::string bigSource(int points) {
    std::string big;
    for (int i = 0; i < points; ++i) {
        big += "1,2,P" + std::to_string(i) + ",K,3515191.0194,516356.3253,41.8932\r\n";
    }
    return big;
}

TEST(HostileCliOutput, FullDisk) {
    TempDir dir;
    velkaro::test::SmallDisk disk(dir, "size=64k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "needs root and tmpfs; MiddleOfALargeWrite covers the same by ulimit -f";
    }
    writeBytes(dir.file("pts.txt"), bigSource(2000));
    const FileSnapshot source(dir.file("pts.txt"));
    for (const Format &f : kFormats) {
        writeBytes(disk.path() + "/pts" + f.suffix, "earlier");
    }
    writeBytes(disk.path() + "/filler", std::string(20000, 'f'));
    const std::string listing = listFolder(disk.path());
    const ProgramRun run = runConverter(dir.path(), {"-f", "all", "-o", disk.path(), "pts.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              failureLines("pts.txt", "写入转换文件错误:", "pts", disk.path() + "/", "磁盘已满"));
    EXPECT_EQ(listFolder(disk.path()), listing);
    for (const Format &f : kFormats) {
        EXPECT_EQ(readBytes(disk.path() + "/pts" + f.suffix), "earlier");
    }
    EXPECT_EQ(source.changes(), "");
}

TEST(HostileCliOutput, FailureInTheMiddleOfALargeWrite) {
    OutputFixture f(bigSource(40000));
    const FileSnapshot source(f.dir.file("pts.txt"));
    // The shell ignores SIGXFSZ and limits file sizes (in 512-byte blocks) for the converter.
    const ProgramRun run = runConverter(f.dir.path(), {"-f", "all", "-o", "out", "pts.txt"},
                                        "trap '' XFSZ; ulimit -f 2000; ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, failureLines("pts.txt", "写入转换文件错误:", "pts", "out/", "磁盘已满"));
    f.expectEarlierOutputsWhole();
    EXPECT_EQ(source.changes(), "");
}

// ---------------------------------------------------------------------------------------------
// File names.

struct NameRow {
    std::string source;
    std::string stem;
};

class HostileCliNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(HostileCliNameTest, ConvertsUnderItsStem) {
    TempDir dir;
    fs::create_directory(dir.path() / "in");
    const std::string &name = GetParam().source;
    writeBytes(dir.file("in/" + name), kSource);
    const FileSnapshot source(dir.file("in/" + name));
    const ProgramRun run = runConverter(dir.path(), {"-f", "all", "--", "in/" + name});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const Format &f : kFormats) {
        const std::string output = dir.file("in/" + GetParam().stem + f.suffix);
        EXPECT_EQ(readBytes(output), modelConversion(kSource, f.format).output);
        if (name.find('\n') == std::string::npos) {
            EXPECT_NE(
                run.out.find("in/" + name + " -> in/" + GetParam().stem + f.suffix + " (2 点)\n"),
                std::string::npos)
                << run.out;
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "in"), fs::directory_iterator()),
              4);
    EXPECT_EQ(source.changes(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileCliNameTest,
    ::testing::Values(NameRow{"my survey points.txt", "my survey points"},
                      NameRow{".hidden.txt", "hidden"}, NameRow{"...", ""},
                      NameRow{"\xd6\xd0\xce\xc4.txt", "\xd6\xd0\xce\xc4"},
                      NameRow{"bad\x80\xff\xfe.txt", "bad\x80\xff\xfe"},
                      NameRow{"100%.txt", "100%"}, NameRow{"%s%n%d.txt", "%s%n%d"},
                      NameRow{"two\nlines.txt", "two\nlines"}, NameRow{"-f.txt", "-f"},
                      NameRow{"it's \"quoted\".txt", "it's \"quoted\""},
                      NameRow{std::string(246, 'n') + ".txt", std::string(246, 'n')}));

TEST(HostileCliName, LongestFileNameGivesAClearCreateError) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".txt";
    writeBytes(dir.file(name), kSource);
    const ProgramRun run = runConverter(dir.path(), {"-f", "all", name});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, failureLines(name, "创建转换文件错误:", std::string(251, 'n'), "",
                                    "文件名或路径太长"));
    EXPECT_EQ(listFolder(dir.path()), name + "\n");
}

} // namespace
#endif
