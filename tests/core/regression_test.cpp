// Regression tests for the faults that issue 5's hostile inputs and fuzzing found in core/ and
// cli/, one test named after each fault.

#include "conversion_run.h"
#include "hostile_support.h"
#include "output_stream.h"
#include "point_record.h"
#include "source_stream.h"
#include "target_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::test::ChildEnd;
using velkaro::test::FileSnapshot;
using velkaro::test::listFolder;
using velkaro::test::runInChild;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;
using Kind = ConversionOutcome::Kind;

const std::string kSource = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,11,21,4\r\n";

ConversionRequest requestFor(const TempDir &dir, const std::string &name,
                             std::string_view itemText = velkaro::kCassItemText) {
    ConversionRequest request;
    request.sourcePath = dir.file(name);
    request.sourceFileName = name;
    request.formatItemText = std::string(itemText);
    request.outputFolder = dir.path().string();
    return request;
}

// The outcome kind of a run in a child process that is killed after ten seconds.
ChildEnd runBounded(const ConversionRequest &request) {
    return runInChild([&] { return static_cast<int>(velkaro::runConversion(request).kind); }, false,
                      std::chrono::seconds(10));
}

// Fault: a FIFO chosen as the source blocked the run for ever in fopen when nothing wrote to it
// (and the window with it); a device such as /dev/urandom was read as if it were a file.
TEST(Regression, FifoSourceBlockedTheRunForever) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pts.txt").c_str(), 0644), 0);
    const ChildEnd end = runBounded(requestFor(dir, "pts.txt"));
    EXPECT_FALSE(end.timedOut) << "the conversion of a FIFO did not end";
    EXPECT_EQ(end.exitCode, static_cast<int>(Kind::SourceOpenFailed));
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");

    // velkaro-convert (stopped by timeout(1) after ten seconds, exit status 124, if it hangs).
    const velkaro::test::ProgramRun run =
        velkaro::test::runConverter(dir.path(), {"-f", "all", "pts.txt"}, "timeout 10 ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkaro-convert: pts.txt: 打开源文件错误，请重新选择!\n"
                       "velkaro-convert: pts.txt: 打开源文件错误，请重新选择!\n"
                       "velkaro-convert: pts.txt: 打开源文件错误，请重新选择!\n");
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");
}

TEST(Regression, DeviceSourceWasReadAsAFile) {
    for (const char *device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        TempDir dir;
        ConversionRequest request = requestFor(dir, "pts.txt");
        request.sourcePath = device;
        const ChildEnd end = runBounded(request);
        EXPECT_FALSE(end.timedOut) << device;
        EXPECT_EQ(end.exitCode, static_cast<int>(Kind::SourceOpenFailed)) << device;
        EXPECT_EQ(listFolder(dir.path()), "") << device;
    }
}

// Fault: when the output's name led to the source itself through a link (pts.txt being a link
// to ptsCass.dat, or an output folder leading back to the source's folder), the finished output
// was moved over the only copy of the field data. Such a run is refused now.
TEST(Regression, OutputReplacedTheSourceThroughALink) {
    struct Row {
        std::string_view itemText;
        std::string output;
    };
    for (const Row &row :
         {Row{velkaro::kCassItemText, "ptsCass.dat"}, Row{velkaro::kKaisiItemText, "ptsKaisi.txt"},
          Row{velkaro::kCadItemText, "ptsCAD.dxf"}}) {
        TempDir dir;
        writeBytes(dir.file(row.output), kSource); // the data
        fs::create_symlink(dir.file(row.output), dir.file("pts.txt"));
        const FileSnapshot data(dir.file(row.output));
        const ConversionOutcome outcome =
            velkaro::runConversion(requestFor(dir, "pts.txt", row.itemText));
        EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed) << row.output;
        EXPECT_EQ(outcome.message, "创建转换文件错误:" + row.output);
        EXPECT_EQ(data.changes(), "") << row.output;
        EXPECT_TRUE(fs::is_symlink(dir.file("pts.txt")));
        EXPECT_EQ(listFolder(dir.path()), "pts.txt\n" + row.output + "\n");
    }

    // The output folder leads back to the source's folder, where the output's name is a link
    // to the source; the same through velkaro-convert.
    TempDir dir;
    fs::create_directory(dir.path() / "data");
    writeBytes(dir.file("data/pts.txt"), kSource);
    fs::create_symlink(dir.path() / "data", dir.path() / "out");
    fs::create_symlink(dir.file("data/pts.txt"), dir.file("data/ptsKaisi.txt"));
    const FileSnapshot source(dir.file("data/pts.txt"));
    ConversionRequest request = requestFor(dir, "pts.txt", velkaro::kKaisiItemText);
    request.sourcePath = dir.file("data/pts.txt");
    request.outputFolder = dir.file("out");
    EXPECT_EQ(velkaro::runConversion(request).kind, Kind::OutputCreateFailed);
    EXPECT_EQ(source.changes(), "");
    const velkaro::test::ProgramRun run =
        velkaro::test::runConverter(dir.path(), {"-f", "all", "-o", "out", "data/pts.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "data/pts.txt -> out/ptsCass.dat (2 点)\n"
                       "data/pts.txt -> out/ptsCAD.dxf (2 点)\n");
    EXPECT_EQ(run.err, "velkaro-convert: data/pts.txt: 创建转换文件错误:ptsKaisi.txt\n");
    EXPECT_EQ(source.changes(), "");
    EXPECT_TRUE(fs::is_symlink(dir.file("data/ptsKaisi.txt")));
}

// Fault: velkaro-convert printed file names raw, so a name holding a line feed broke its "one
// line per output" on standard output (and split its messages): a script reading the lines saw
// two half entries. Control bytes in names are printed as C escapes now (\n, \t, \r, \xHH).
TEST(Regression, LineFeedInANameSplitTheConverterLine) {
    TempDir dir;
    writeBytes(dir.file("two\nlines.txt"), kSource);
    fs::create_directory(dir.file("tab\there.txt"));
    fs::create_directory(dir.file("tab\there"
                                  "Cass.dat"));
    writeBytes(dir.file("tab\there.txt/x\x1b.txt"), kSource);
    const velkaro::test::ProgramRun run = velkaro::test::runConverter(
        dir.path(), {"-f", "cass", "two\nlines.txt", "tab\there.txt", "tab\there.txt/x\x1b.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "two\\nlines.txt -> two\\nlinesCass.dat (2 点)\n"
                       "tab\\there.txt/x\\x1b.txt -> tab\\there.txt/x\\x1bCass.dat (2 点)\n");
    EXPECT_EQ(run.err, "velkaro-convert: tab\\there.txt: 打开源文件错误，请重新选择!\n");
    EXPECT_EQ(velkaro::test::readBytes(dir.file("two\nlinesCass.dat")),
              "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");

    // A failure naming the output, and the short-line warning, stay on one line each as well.
    TempDir other;
    writeBytes(other.file("a\rb.txt"), kSource + "\r\n" + kSource);
    fs::create_directory(other.file("a\rbKaisi.txt"));
    const velkaro::test::ProgramRun failed =
        velkaro::test::runConverter(other.path(), {"-f", "all", "a\rb.txt"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "a\\rb.txt -> a\\rbCass.dat (2 点)\na\\rb.txt -> a\\rbCAD.dxf (2 点)\n");
    EXPECT_EQ(failed.err, "velkaro-convert: 警告: a\\rb.txt 第 3 行不足 10 字节，读取在此停止，"
                          "其后 2 行没有转换\n"
                          "velkaro-convert: a\\rb.txt: 创建转换文件错误:a\\rbKaisi.txt\n");
}

// Fault: velkaro-convert never checked its standard output: with it on a full disk (here
// /dev/full) the report of the outputs written was lost and the exit status was still 0. Now
// the loss is reported on standard error and the exit status is 1; the outputs are written.
TEST(Regression, ReportLostOnAFullStandardOutputExitedZero) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    const std::string err = dir.file("err.txt");
    for (const std::string &arguments :
         {std::string("-f all pts.txt"), std::string("--help"), std::string("--version")}) {
        const std::string command = "cd " + velkaro::test::shellQuoted(dir.path().string()) +
                                    " && " +
                                    velkaro::test::shellQuoted(velkaro::test::converterPath()) +
                                    " " + arguments + " >/dev/full 2>err.txt";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << arguments << ": " << raw;
        EXPECT_EQ(velkaro::test::readBytes(err),
                  "velkaro-convert: 写标准输出错误: No space left on device\n")
            << arguments;
    }
    EXPECT_EQ(listFolder(dir.path()), "err.txt\npts.txt\nptsCAD.dxf\nptsCass.dat\nptsKaisi.txt\n");
}

// Fault (found by the sanitizer build after the throughput work): the CASS 6.0 writer passed
// its always-empty second column as a default std::string_view, whose data() is a null pointer,
// and OutputStream copied it with memcpy(dst, nullptr, 0): undefined behaviour, which
// UndefinedBehaviorSanitizer stops at on every CASS conversion. This test writes the lines
// through the stream itself, so that the sanitizer build checks exactly that call.
TEST(Regression, EmptyCassColumnPassedANullPointerToMemcpy) {
    TempDir dir;
    const std::string path = dir.file("out.dat");
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    {
        velkaro::OutputStream out(file);
        velkaro::PointRecord record;
        velkaro::writeCassLine(out, record); // every value empty
        record.pointCode = "K1";
        record.x = "10.5";
        record.y = "20.5";
        record.z = "3.0";
        velkaro::writeCassLine(out, record);
        velkaro::writeKaisiLine(out, velkaro::PointRecord{});
        out.flush();
        EXPECT_TRUE(out.ok());
    }
    ASSERT_EQ(std::fclose(file), 0);
    EXPECT_EQ(velkaro::test::readBytes(path), ",,,,\r\nK1,,20.5,10.5,3.0\r\n,,,,\r\n");
}

} // namespace
#endif

#ifdef __GLIBC__
namespace {

// A stream whose reads give `good` bytes of points, then fail as a pulled USB stick does.
struct FailingSource {
    std::string good;
    std::size_t at = 0;
};

ssize_t readThenFail(void *cookie, char *buffer, std::size_t size) {
    auto *source = static_cast<FailingSource *>(cookie);
    if (source->at == source->good.size()) {
        errno = EIO;
        return -1;
    }
    const std::size_t count = std::min(size, source->good.size() - source->at);
    std::memcpy(buffer, source->good.data() + source->at, count);
    source->at += count;
    return static_cast<ssize_t>(count);
}

} // namespace

TEST(Regression, ReadErrorPartWayWasTakenForTheEndOfTheFile) {
    FailingSource failing{std::string(100000, 'x')};
    for (std::size_t i = 0; i < failing.good.size(); i += 25) {
        failing.good.replace(i, 25, "1,2,P,K,1.5,2.5,3.5\r\n   ");
    }
    cookie_io_functions_t functions{readThenFail, nullptr, nullptr, nullptr};
    velkaro::SourceStream stream(fopencookie(&failing, "rb", functions));
    char line[velkaro::kLineBufferSize] = {};
    std::size_t lines = 0;
    while (!stream.eof() && velkaro::readSourceLine(stream, line)) {
        ++lines;
    }
    EXPECT_GT(lines, 1000u); // everything before the failure was read
    EXPECT_TRUE(stream.failed());

    std::FILE *whole = std::tmpfile();
    std::fputs("1,2,P,K,1.5,2.5,3.5\r\n", whole);
    std::rewind(whole);
    velkaro::SourceStream complete(whole);
    while (!complete.eof() && velkaro::readSourceLine(complete, line)) {
    }
    EXPECT_FALSE(complete.failed()); // the plain end of a file is no failure
}
#endif
