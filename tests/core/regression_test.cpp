// Regression tests for the faults that hostile inputs, fuzzing and interrupted or crowded runs
// found in core/ and cli/, one test named after each fault.

#include "conversion_run.h"
#include "file_names.h"
#include "hostile_support.h"
#include "output_stream.h"
#include "point_record.h"
#include "reference_model.h"
#include "source_stream.h"
#include "target_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// AddressSanitizer reserves more address space than any limit allows, and its leak check at the
// end of a process needs /proc.
#if defined(__SANITIZE_ADDRESS__)
#define VELKARO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELKARO_ASAN 1
#endif
#endif

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

using velkaro::test::kSource;

ConversionRequest requestFor(const TempDir &dir, const std::string &name,
                             velkaro::TargetFormat itemText = velkaro::TargetFormat::Cass) {
    ConversionRequest request;
    request.sourcePath = dir.file(name);
    request.sourceFileName = name;
    request.format = itemText;
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
    const std::string refusal =
        "velkaro-convert: pts.txt: 打开源文件错误，请重新选择!\n"
        "velkaro-convert: pts.txt: 位置: pts.txt\n"
        "velkaro-convert: pts.txt: 原因: 这不是普通文件 (设备、管道或套接字)。\n";
    EXPECT_EQ(run.err, refusal + refusal + refusal);
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
        velkaro::TargetFormat itemText;
        std::string output;
    };
    for (const Row &row : {Row{velkaro::TargetFormat::Cass, "ptsCass.dat"},
                           Row{velkaro::TargetFormat::Kaisi, "ptsKaisi.txt"},
                           Row{velkaro::TargetFormat::Cad, "ptsCAD.dxf"}}) {
        TempDir dir;
        writeBytes(dir.file(row.output), kSource); // the data
        fs::create_symlink(dir.file(row.output), dir.file("pts.txt"));
        const FileSnapshot data(dir.file(row.output));
        const ConversionOutcome outcome =
            velkaro::runConversion(requestFor(dir, "pts.txt", row.itemText));
        EXPECT_EQ(outcome.kind, Kind::OutputIsSource) << row.output;
        EXPECT_EQ(outcome.conflictingSource, dir.file("pts.txt"));
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
    ConversionRequest request = requestFor(dir, "pts.txt", velkaro::TargetFormat::Kaisi);
    request.sourcePath = dir.file("data/pts.txt");
    request.outputFolder = dir.file("out");
    EXPECT_EQ(velkaro::runConversion(request).kind, Kind::OutputIsSource);
    EXPECT_EQ(source.changes(), "");
    const velkaro::test::ProgramRun run =
        velkaro::test::runConverter(dir.path(), {"-f", "all", "-o", "out", "data/pts.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "data/pts.txt -> out/ptsCass.dat (2 点)\n"
                       "data/pts.txt -> out/ptsCAD.dxf (2 点)\n");
    EXPECT_EQ(run.err,
              "velkaro-convert: data/pts.txt: 转换文件是本次转换的源文件，不能覆盖:ptsKaisi.txt\n");
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
    EXPECT_EQ(run.err, "velkaro-convert: tab\\there.txt: 打开源文件错误，请重新选择!\n"
                       "velkaro-convert: tab\\there.txt: 位置: tab\\there.txt\n"
                       "velkaro-convert: tab\\there.txt: 原因: 这是一个文件夹。\n");
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
    EXPECT_EQ(failed.err, "velkaro-convert: a\\rb.txt: 警告: 第 3 行不足 10 字节，读取在此停止，"
                          "其后 2 行没有转换。\n"
                          "velkaro-convert: a\\rb.txt: 创建转换文件错误:a\\rbKaisi.txt\n"
                          "velkaro-convert: a\\rb.txt: 位置: a\\rbKaisi.txt\n"
                          "velkaro-convert: a\\rb.txt: 原因: 这是一个文件夹。\n");
}

// Fault: velkaro-convert took any argument that began like a long option for it: --formatcass
// was reported as the unknown format "formatcass", and --output-directory=out made the folder
// "output-directory=out" the output folder. Both are unknown options now (exit status 2).
TEST(Regression, ArgumentBeginningLikeALongOptionWasTakenForIt) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    fs::create_directory(dir.file("output-directory=out"));
    const std::vector<std::vector<std::string>> calls = {
        {"--formatcass", "pts.txt"}, {"-f", "cass", "--output-directory=out", "pts.txt"}};
    for (const std::vector<std::string> &arguments : calls) {
        const velkaro::test::ProgramRun run = velkaro::test::runConverter(dir.path(), arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  "velkaro-convert: 未知选项: " + arguments[arguments.size() - 2]);
        EXPECT_EQ(listFolder(dir.path()), "output-directory=out\npts.txt\n");
        EXPECT_EQ(listFolder(dir.file("output-directory=out")), "");
    }
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

// ---------------------------------------------------------------------------------------------
// Runs of several conversions, durability, interruption, memory.

using velkaro::TargetFormat;
using velkaro::test::readBytes;
using velkaro::test::runConverter;

std::string modelOf(const std::string &source, TargetFormat format = TargetFormat::Cass) {
    return velkaro::test::modelConversion(source, format).output;
}

std::string pointsSource(int points, const char *name = "P") {
    std::string bytes;
    for (int i = 0; i < points; ++i) {
        bytes += "1,2," + (name + std::to_string(i)) + ",K,3515191.0194,516356.3253,41.8932\r\n";
    }
    return bytes;
}

// Fault: "-f kaisi a.txt aKaisi.txt" replaced the source aKaisi.txt with a.txt's output before
// converting it, and exited 0. The run is planned first now: in either order, and when the
// source is another name (b.txt, a hard link) of that output, the conversion is refused.
TEST(Regression, SourceOverwrittenBeforeItWasRead) {
    for (const std::vector<std::string> &sources : {std::vector<std::string>{"a.txt", "aKaisi.txt"},
                                                    {"aKaisi.txt", "a.txt"},
                                                    {"a.txt", "b.txt"}}) {
        TempDir dir;
        writeBytes(dir.file("a.txt"), kSource);
        writeBytes(dir.file("aKaisi.txt"), "1,2,P9,K9,1,2,3\r\n");
        fs::create_hard_link(dir.file("aKaisi.txt"), dir.file("b.txt"));
        const FileSnapshot source(dir.file("aKaisi.txt"));
        const velkaro::test::ProgramRun run =
            runConverter(dir.path(), {"-f", "kaisi", sources[0], sources[1]});
        const std::string &other = sources[0] == "a.txt" ? sources[1] : sources[0];
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out,
                  other + " -> " + other.substr(0, other.find('.')) + "Kaisi.txt (1 点)\n");
        EXPECT_EQ(run.err,
                  "velkaro-convert: a.txt: 转换文件是本次转换的源文件，不能覆盖:aKaisi.txt\n");
        EXPECT_EQ(source.changes(), "");
    }
}

// Fault: sources with the same stem ("-f cass a.txt a.csv") or the same name in two folders
// ("-o out d1/pts.txt d2/pts.txt") all wrote one output, each reported, exit 0; only the last
// survived. Later ones are refused now, naming the source whose output stays; outputs meet by
// identity, also through a link to their folder.
TEST(Regression, TwoSourcesWroteOneOutputName) {
    TempDir dir;
    writeBytes(dir.file("a.txt"), kSource);
    writeBytes(dir.file("a.csv"), "1,2,P9,K9,1,2,3\r\n");
    fs::create_directories(dir.path() / "d1");
    fs::create_directories(dir.path() / "d2");
    fs::create_directory_symlink("d1", dir.path() / "link");
    writeBytes(dir.file("d1/pts.txt"), kSource);
    writeBytes(dir.file("d2/pts.txt"), "1,2,P9,K9,1,2,3\r\n");
    for (const std::vector<std::string> &arguments : {std::vector<std::string>{"a.txt", "a.csv"},
                                                      {"-o", "d1", "d1/pts.txt", "d2/pts.txt"},
                                                      {"d1/pts.txt", "link/pts.txt"}}) {
        std::vector<std::string> all = {"-f", "cass"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const velkaro::test::ProgramRun run = runConverter(dir.path(), all);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "velkaro-convert: " + arguments.back() +
                               ": 转换文件已由前面的源文件生成:" + arguments.end()[-2] + "\n");
    }
    EXPECT_EQ(readBytes(dir.file("aCass.dat")), modelOf(kSource));
    EXPECT_EQ(readBytes(dir.file("d1/ptsCass.dat")), modelOf(kSource));
}

// Fault: nothing was flushed to the disk, so a power cut seconds after "转换成功" lost a new
// output (present with size 0, or missing). The outputs are written onto a fresh ext4 image,
// the image is copied the moment the converter exits, as a power cut would leave the disk, and
// the copy, its journal replayed, must hold them whole. Needs root and loop devices.
TEST(Regression, PowerCutLostANewOutput) {
    TempDir dir;
    const std::string img = dir.file("disk.img");
    const std::string disk = dir.file("disk");
    const std::string copy = dir.file("copy");
    fs::create_directories(disk);
    fs::create_directories(copy);
    const std::string setup = "truncate -s 16M " + img + " && mkfs.ext4 -q -F " + img +
                              " 2>/dev/null && mount -o loop " + img + " " + disk;
    if (!velkaro::test::runningAsRoot() || std::system(setup.c_str()) != 0) {
        GTEST_SKIP() << "needs root, mkfs.ext4 and loop devices";
    }
    struct Unmount { // whatever happens below
        std::string folders;
        ~Unmount() { std::system(("umount -l " + folders + " 2>/dev/null").c_str()); }
    } unmount{disk + " " + copy};
    writeBytes(disk + "/pts.txt", kSource);
    const velkaro::test::ProgramRun run = runConverter(disk, {"-f", "all", "pts.txt"}, "sync; ");
    const std::string check = "cp " + img + " " + img + ".copy; umount " + disk + "; e2fsck -fy " +
                              img + ".copy >/dev/null 2>&1; mount -o loop,ro " + img + ".copy " +
                              copy;
    ASSERT_EQ(std::system(check.c_str()), 0);
    EXPECT_EQ(run.status, 0);
    for (const TargetFormat format : {TargetFormat::Cass, TargetFormat::Kaisi, TargetFormat::Cad}) {
        const std::string output = velkaro::makeOutputFileName("pts.txt", format);
        EXPECT_EQ(readBytes(copy + "/" + output), modelOf(kSource, format)) << output;
    }
}

// How far process pid has read the file at path: the position of its descriptor, -1 when it
// has none open on that file.
long long readPosition(pid_t pid, const std::string &path) {
    const std::string process = "/proc/" + std::to_string(pid);
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(process + "/fd", error)) {
        if (fs::read_symlink(entry.path(), error) == fs::path(path)) {
            const std::string info =
                readBytes(process + "/fdinfo/" + entry.path().filename().string());
            return std::atoll(info.c_str() + info.find("pos:") + 4);
        }
    }
    return -1;
}

// Stops process pid (SIGSTOP) once it has read part of the file at path; false when it ended, or
// had read all of it, before it could be stopped.
bool stopPartWay(pid_t pid, const std::string &path, long long size) {
    siginfo_t ended{};
    while (readPosition(pid, path) <= 0 &&
           waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           ended.si_pid == 0) {
    }
    kill(pid, SIGSTOP);
    const long long position = readPosition(pid, path);
    return position > 0 && position < size;
}

// Lets the stopped child run on: a rewrite made while it was stopped is reported as such, and
// nothing but the source is left either way.
void expectChangeNoticed(pid_t child, bool caught, const TempDir &dir) {
    kill(child, SIGCONT);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status),
              static_cast<int>(caught ? Kind::SourceChanged : Kind::Converted));
    fs::remove(dir.file("ptsCass.dat"));
    EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");
}

// Fault: a source truncated and rewritten during a conversion gave an output made of both
// versions, reported as success. The conversion runs in a child that is stopped part way through
// the source; the source is rewritten, and the child let go on.
TEST(Regression, SourceChangedWhileReadWasReportedAsSuccess) {
    TempDir dir;
    const std::string versions[] = {pointsSource(200000), pointsSource(1000, "Q")};
    bool caught = false;
    for (int attempt = 0; attempt < 10 && !caught; ++attempt) {
        writeBytes(dir.file("pts.txt"), versions[0]);
        const pid_t child = fork();
        if (child == 0) {
            _exit(static_cast<int>(velkaro::runConversion(requestFor(dir, "pts.txt")).kind));
        }
        caught =
            stopPartWay(child, dir.file("pts.txt"), static_cast<long long>(versions[0].size()));
        if (caught) { // rewritten in place, as an editor saving over it does
            writeBytes(dir.file("pts.txt"), versions[1]);
        }
        expectChangeNoticed(child, caught, dir);
    }
    EXPECT_TRUE(caught) << "the conversion was never stopped part way";
}

// Whether this test may hide /proc from the converter (root, with mount namespaces), so that it
// has to use a named temporary file.
bool canHideProc() {
    return velkaro::test::runningAsRoot() && std::system("unshare --mount true 2>/dev/null") == 0;
}

// Starts velkaro-convert (every signal at its default action, no core files) on sources in dir,
// /proc hidden when asked; returns its output stream, with its process number read.
std::FILE *startConverter(const TempDir &dir, const std::string &sources, bool hideProc,
                          pid_t &pid) {
    // The shell prints its process number and becomes the converter.
    const std::string command = "cd " + velkaro::test::shellQuoted(dir.folder()) +
                                " && ulimit -c 0 && echo $$ && exec env --default-signal " +
                                (hideProc ? "unshare --mount --propagation private sh -c "
                                            "'mount -t tmpfs none /proc && exec \"$0\" \"$@\"' "
                                          : "") +
                                velkaro::test::shellQuoted(velkaro::test::converterPath()) +
                                " -f cad " + sources;
    std::FILE *out = popen(command.c_str(), "r");
    char number[32] = {};
    pid = std::fgets(number, sizeof number, out) ? std::atoi(number) : -1;
    return out;
}

// Converts a.txt and then big.txt, stops the second conversion part way through its source and
// sends signalNumber: the program must end by that signal, leaving only the first output and the
// untouched earlier second one.
void interruptPartWay(const TempDir &dir, long long bigSize, int signalNumber, bool hideProc) {
    writeBytes(dir.file("bigCAD.dxf"), "earlier");
    pid_t pid = -1;
    std::FILE *out = startConverter(dir, "a.txt big.txt", hideProc, pid);
    char line[64] = {};
    ASSERT_TRUE(pid > 0 && std::fgets(line, sizeof line, out));
    EXPECT_TRUE(stopPartWay(pid, dir.file("big.txt"), bigSize));
    kill(pid, signalNumber);
    kill(pid, SIGCONT);
    const int status = pclose(out);
    EXPECT_STREQ(line, "a.txt -> aCAD.dxf (2 点)\n");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
    EXPECT_EQ(listFolder(dir.path()), "a.txt\naCAD.dxf\nbig.txt\nbigCAD.dxf\n")
        << "signal " << signalNumber << (hideProc ? ", named temporary" : "");
    EXPECT_EQ(readBytes(dir.file("bigCAD.dxf")), "earlier");
}

// Fault: SIGTERM, SIGINT, SIGHUP or SIGKILL part way through a large conversion left a hidden
// temporary file of up to 74 MB that nothing ever removed. The first source's report line
// arrives as soon as its output is in place; the second, large conversion is stopped part way
// through its source and signalled. Only the first output, and the second's earlier one, stay.
// Again with /proc hidden, so that the converter has to use a named temporary file.
TEST(Regression, InterruptedRunLeftTemporaryFilesForever) {
    TempDir dir;
    writeBytes(dir.file("a.txt"), kSource);
    const std::string big = pointsSource(300000);
    writeBytes(dir.file("big.txt"), big);
    for (const bool hideProc : {false, true}) {
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
            if (hideProc && (!canHideProc() || signalNumber == SIGKILL)) {
                continue; // no process can remove a named file on SIGKILL
            }
            interruptPartWay(dir, static_cast<long long>(big.size()), signalNumber, hideProc);
        }
    }
}

// Fault: with a named temporary file (no /proc, other file systems), the signals beyond the
// three interruptions that end a process by default (SIGUSR1, SIGALRM, SIGXCPU, SIGPIPE,
// SIGVTALRM, SIGPROF, SIGXFSZ, ...) left the temporary file behind.
TEST(Regression, OtherEndingSignalsLeftNamedTemporaryFiles) {
    if (!canHideProc()) {
        GTEST_SKIP() << "needs root and mount namespaces to hide /proc";
    }
    TempDir dir;
    writeBytes(dir.file("a.txt"), kSource);
    const std::string big = pointsSource(300000);
    writeBytes(dir.file("big.txt"), big);
    for (const int signalNumber : {SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGPIPE, SIGVTALRM, SIGPROF,
                                   SIGXFSZ, SIGQUIT, SIGRTMIN, SIGRTMAX}) {
        interruptPartWay(dir, static_cast<long long>(big.size()), signalNumber, true);
    }
}

// The named temporary files in dir.
std::vector<std::string> temporaryFiles(const TempDir &dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename().string().starts_with(".velkaro-")) {
            names.push_back(entry.path().string());
        }
    }
    return names;
}

// Puts a file's modification time a minute back, past the moment a live run takes to lock it.
void ageFile(const std::string &path) {
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Fault: a run killed (SIGKILL, a power cut) while its named temporary file existed left it in
// the folder for ever. The next run in the folder removes it now, and only it: the temporary
// file of a run that still lives (stopped here part way) stays and becomes its output.
TEST(Regression, KilledRunLeftItsTemporaryFileForever) {
    if (!canHideProc()) {
        GTEST_SKIP() << "needs root and mount namespaces to hide /proc";
    }
    TempDir dir;
    writeBytes(dir.file("a.txt"), kSource);
    const std::string big = pointsSource(300000);
    writeBytes(dir.file("big.txt"), big);
    const auto stoppedRun = [&](pid_t &pid) {
        std::FILE *out = startConverter(dir, "big.txt", true, pid);
        EXPECT_TRUE(stopPartWay(pid, dir.file("big.txt"), static_cast<long long>(big.size())));
        return out;
    };
    pid_t killed = -1;
    std::FILE *killedOut = stoppedRun(killed);
    kill(killed, SIGKILL);
    pclose(killedOut);
    const std::vector<std::string> abandoned = temporaryFiles(dir);
    ASSERT_EQ(abandoned.size(), 1u) << listFolder(dir.path());

    pid_t living = -1;
    std::FILE *livingOut = stoppedRun(living);
    std::vector<std::string> alive = temporaryFiles(dir);
    ASSERT_EQ(alive.size(), 2u) << "a file written a moment ago is left alone";
    std::erase(alive, abandoned[0]);
    ageFile(abandoned[0]);
    ageFile(alive[0]);
    EXPECT_EQ(runConverter(dir.path(), {"-f", "cad", "a.txt"}).status, 0);
    EXPECT_EQ(temporaryFiles(dir), alive) << "the dead run's file must go, the living one's stay";
    kill(living, SIGCONT);
    char line[64] = {};
    EXPECT_TRUE(std::fgets(line, sizeof line, livingOut)); // read before the pipe closes
    EXPECT_STREQ(line, "big.txt -> bigCAD.dxf (300000 点)\n");
    const int status = pclose(livingOut);
#ifndef VELKARO_ASAN // with /proc hidden, the sanitizer's leak check fails the exit status
    EXPECT_EQ(status, 0);
#endif
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(listFolder(dir.path()), "a.txt\naCAD.dxf\nbig.txt\nbigCAD.dxf\n");
    EXPECT_EQ(readBytes(dir.file("bigCAD.dxf")), modelOf(big, TargetFormat::Cad));
}

// Fault: a source rewritten in place at the same size, its modification time put back (touch
// -r, an unpacked archive), was converted as a success with old and new lines mixed. The
// change time, which nobody can set back, tells now.
TEST(Regression, SourceRewrittenWithItsTimeRestoredWasConverted) {
    TempDir dir;
    const std::string versions[] = {pointsSource(200000), pointsSource(200000, "Q")};
    ASSERT_EQ(versions[0].size(), versions[1].size());
    bool caught = false;
    for (int attempt = 0; attempt < 10 && !caught; ++attempt) {
        writeBytes(dir.file("pts.txt"), versions[0]);
        struct stat before {};
        ASSERT_EQ(stat(dir.file("pts.txt").c_str(), &before), 0);
        const pid_t child = fork();
        if (child == 0) {
            _exit(static_cast<int>(velkaro::runConversion(requestFor(dir, "pts.txt")).kind));
        }
        caught =
            stopPartWay(child, dir.file("pts.txt"), static_cast<long long>(versions[0].size()));
        if (caught) {
            writeBytes(dir.file("pts.txt"), versions[1]);
            const timespec times[2] = {before.st_atim, before.st_mtim};
            ASSERT_EQ(utimensat(AT_FDCWD, dir.file("pts.txt").c_str(), times, 0), 0);
        }
        expectChangeNoticed(child, caught, dir);
    }
    EXPECT_TRUE(caught) << "the conversion was never stopped part way";
}

// Fault: replacing an output ignored what protected it: a read-only output was replaced, a
// 0600 output became 0644, another user's output became root's, a link at the output's name
// was replaced by a file (its target kept the old bytes). A hard link is split on purpose: the
// new output goes under this name only, the other names keep the earlier bytes.
TEST(Regression, ReplacementIgnoredWhatProtectedTheOutput) {
    struct Row {
        mode_t mode;
        bool otherOwner, link, converted;
    };
    for (const Row &row : {Row{0600, false, false, true}, Row{0640, true, false, true},
                           Row{0444, false, false, false}, Row{0644, false, true, true}}) {
        TempDir dir;
        writeBytes(dir.file("pts.txt"), kSource);
        const std::string target = dir.file(row.link ? "data.dat" : "ptsCass.dat");
        writeBytes(target, "earlier");
        ASSERT_EQ(chmod(target.c_str(), row.mode), 0);
        if (row.link) {
            fs::create_symlink("data.dat", dir.file("ptsCass.dat"));
        }
        const bool chowned = row.otherOwner && chown(target.c_str(), 65534, 65534) == 0;
        const ConversionOutcome outcome = velkaro::runConversion(requestFor(dir, "pts.txt"));
        EXPECT_EQ(outcome.kind, row.converted ? Kind::Converted : Kind::OutputCreateFailed);
        EXPECT_EQ(readBytes(target), row.converted ? modelOf(kSource) : "earlier");
        struct stat status {};
        ASSERT_EQ(stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, row.mode);
        EXPECT_EQ(status.st_uid, chowned ? 65534u : getuid());
        EXPECT_EQ(fs::is_symlink(dir.file("ptsCass.dat")), row.link);
        EXPECT_EQ(listFolder(dir.path()),
                  row.link ? "data.dat\npts.txt\nptsCass.dat\n" : "pts.txt\nptsCass.dat\n");
    }
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    writeBytes(dir.file("other.dat"), "earlier");
    fs::create_hard_link(dir.file("other.dat"), dir.file("ptsCass.dat"));
    EXPECT_EQ(velkaro::runConversion(requestFor(dir, "pts.txt")).kind, Kind::Converted);
    EXPECT_EQ(readBytes(dir.file("ptsCass.dat")), modelOf(kSource));
    EXPECT_EQ(readBytes(dir.file("other.dat")), "earlier");
}

#ifndef VELKARO_ASAN
// Runs the conversion with only `spare` bytes of heap left: the address space is limited to a
// little more than the process holds, the heap filled up to that, and `spare` of it given back.
[[gnu::noinline]] void growStack() {
    volatile char stack[512 << 10];
    for (std::size_t i = 0; i < sizeof stack; i += 4096) {
        stack[i] = 1;
    }
}

int convertWithSpareMemory(const ConversionRequest &request, std::size_t spare) {
    growStack(); // now, for the calls below, so that only the heap can run out
    const std::string statm = readBytes("/proc/self/statm");
    const auto limit = static_cast<rlim_t>(std::atol(statm.c_str()) * sysconf(_SC_PAGESIZE));
    const rlimit tight{limit + (4 << 20), limit + (4 << 20)};
    setrlimit(RLIMIT_AS, &tight);
    void *last = nullptr; // the blocks are linked through their first word
    while (void *block = std::malloc(4096)) {
        *static_cast<void **>(block) = last;
        last = block;
    }
    for (std::size_t given = 0; given < spare && last != nullptr; given += 4096) {
        void *next = *static_cast<void **>(last);
        std::free(last);
        last = next;
    }
    return static_cast<int>(velkaro::runConversion(request).kind);
}
#endif

// Fault: out of memory, velkaro-convert aborted ("terminate called without an active
// exception", status 134) or reported a write error without a file name. In the core, every
// conversion with little memory left ends as a value, never an abort, and leaves no temporary
// file; the converter, swept over limits around what it needs to start, exits 0 or 1 with
// "内存不足" (or fails to load at all), never by a signal.
TEST(Regression, OutOfMemoryAbortedTheConverter) {
#ifdef VELKARO_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#else
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    int kinds[2] = {0, 0}; // OutOfMemory, Converted
    for (std::size_t spare = 0; spare <= 128 << 10; spare += 8 << 10) {
        const ChildEnd end =
            runInChild([&] { return convertWithSpareMemory(requestFor(dir, "pts.txt"), spare); });
        ASSERT_GE(end.exitCode, 0) << "ended by a signal with " << spare << " bytes to spare";
        kinds[0] += end.exitCode == static_cast<int>(Kind::OutOfMemory);
        kinds[1] += end.exitCode == static_cast<int>(Kind::Converted);
        const std::string left = listFolder(dir.path());
        EXPECT_TRUE(left == "pts.txt\n" || left == "pts.txt\nptsCass.dat\n") << left;
        fs::remove(dir.file("ptsCass.dat"));
    }
    EXPECT_TRUE(kinds[0] > 0 && kinds[1] > 0);
    int reported = 0;
    for (int kilobytes = 5000; kilobytes <= 8000; kilobytes += 50) {
        const velkaro::test::ProgramRun run = runConverter(
            dir.path(), {"-f", "all", "pts.txt"}, "ulimit -v " + std::to_string(kilobytes) + "; ");
        EXPECT_TRUE(run.status == 0 || run.status == 1 || run.status == 127) << run.status;
        reported += run.status == 1;
        EXPECT_TRUE(run.status != 1 || run.err.find("内存不足") != std::string::npos) << run.err;
        EXPECT_EQ(listFolder(dir.path()).find(".velkaro-"), std::string::npos);
    }
    EXPECT_GT(reported, 0);
#endif
}

// Fault: "-f cass -f kaisi" silently wrote only the 开思 output (and "-o" twice used the last
// folder). Each may be given once now; a second one is a usage error and nothing is written.
TEST(Regression, FormatGivenTwiceWroteOnlyTheLast) {
    TempDir dir;
    writeBytes(dir.file("pts.txt"), kSource);
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"-f", "cass", "-f", "kaisi", "pts.txt"},
          {"-fcass", "--format=cass", "pts.txt"},
          {"-f", "all", "-o", ".", "-o", "..", "pts.txt"}}) {
        const velkaro::test::ProgramRun run = runConverter(dir.path(), arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("只能给一次"), std::string::npos) << run.err;
        EXPECT_EQ(listFolder(dir.path()), "pts.txt\n");
    }
}

// Fault: a source line longer than 255 bytes was taken as several points without a word. The
// output stays as it was; velkaro-convert names the first such line and counts them.
TEST(Regression, LongLineWasSplitSilently) {
    TempDir dir;
    const std::string longLine = "1,2,P3,K3,1,2,3," + std::string(600, 'x') + "\r\n";
    const std::string source = kSource + longLine + longLine + kSource;
    writeBytes(dir.file("pts.txt"), source);
    const velkaro::test::ProgramRun run = runConverter(dir.path(), {"-f", "cass", "pts.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("velkaro-convert: pts.txt: 警告: 2 行超过 255 字节 (第 3 行起)，"
                           "每行被分段当作多个点转换。\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readBytes(dir.file("ptsCass.dat")), modelOf(source));
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

namespace {

// What the output name of a request held after a refused conversion: the reason, and the name.
struct Refusal {
    velkaro::FailureReason reason;
    std::string path;
};

Refusal refusalOf(const ConversionOutcome &outcome) {
    EXPECT_EQ(outcome.kind, Kind::OutputCreateFailed);
    return outcome.failure ? Refusal{outcome.failure->reason, outcome.failure->path}
                           : Refusal{velkaro::FailureReason::Unknown, {}};
}

// A symbolic link at path to target, owned by owner (root may give it away).
void plantLink(const std::string &target, const std::string &path, uid_t owner) {
    fs::create_symlink(target, path);
    ASSERT_EQ(lchown(path.c_str(), owner, owner), 0);
}

} // namespace

// Fault: a symbolic link that another user planted at an output's name in a shared sticky
// folder (/tmp, a survey drop folder) was followed, also by root and also with the kernel's
// fs.protected_symlinks on: any file could be replaced, and a dangling link made a root-owned
// file wherever it pointed. Such links are refused now, naming the link; the user's own link,
// the folder owner's, and any link in a folder that is not shared are written through as the
// kernel would follow them.
TEST(Regression, LinkPlantedByAnotherUserInASharedFolderWasFollowed) {
    if (!velkaro::test::runningAsRoot()) {
        GTEST_SKIP() << "needs root to plant a link owned by another user";
    }
    struct Row {
        bool sticky;
        uid_t owner;
        bool dangling, followed;
    };
    for (const Row &row :
         {Row{true, 65534, false, false}, Row{true, 65534, true, false}, Row{true, 0, false, true},
          Row{false, 65534, false, true}, Row{true, 0, true, true}}) {
        TempDir dir;
        writeBytes(dir.file("pts.txt"), kSource);
        fs::create_directory(dir.file("shared"));
        ASSERT_EQ(chmod(dir.file("shared").c_str(), row.sticky ? 01777 : 0777), 0);
        const std::string victim = dir.file(row.dangling ? "created.dat" : "victim.dat");
        if (!row.dangling) {
            writeBytes(victim, "earlier");
        }
        const std::string link = dir.file("shared/ptsCass.dat");
        plantLink(victim, link, row.owner);
        ConversionRequest request = requestFor(dir, "pts.txt");
        request.outputFolder = dir.file("shared");
        const ConversionOutcome outcome = velkaro::runConversion(request);
        const std::string expected = row.dangling ? "" : "earlier";
        if (row.followed) {
            EXPECT_EQ(outcome.kind, Kind::Converted);
            EXPECT_EQ(readBytes(victim), modelOf(kSource));
        } else {
            const Refusal refusal = refusalOf(outcome);
            EXPECT_EQ(refusal.reason, velkaro::FailureReason::UntrustedLink);
            EXPECT_EQ(refusal.path, link);
            EXPECT_EQ(fs::exists(victim), !row.dangling);
            EXPECT_EQ(row.dangling ? "" : readBytes(victim), expected);
        }
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(listFolder(dir.file("shared")), "ptsCass.dat\n");
    }
}

// Fault: a FIFO, a device node or a socket at an output's name (or at the end of the user's own
// link there) was replaced by a regular file. Each is refused now and stays what it was.
TEST(Regression, SpecialFileAtTheOutputNameWasReplaced) {
    const auto makeSocket = [](const std::string &path) {
        const int socketDescriptor = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        const bool bound =
            bind(socketDescriptor, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        close(socketDescriptor);
        return bound;
    };
    struct Row {
        const char *name;
        mode_t type;
        bool throughLink;
    };
    for (const Row &row : {Row{"fifo", S_IFIFO, false}, Row{"device", S_IFCHR, false},
                           Row{"socket", S_IFSOCK, false}, Row{"device", S_IFCHR, true}}) {
        TempDir dir;
        writeBytes(dir.file("pts.txt"), kSource);
        const std::string node = dir.file(row.throughLink ? "node" : "ptsCass.dat");
        bool made = false;
        if (row.type == S_IFSOCK) {
            made = makeSocket(node);
        } else if (row.type == S_IFCHR) {
            made = mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; // as /dev/null
        } else {
            made = mkfifo(node.c_str(), 0666) == 0;
        }
        if (!made) {
            ADD_FAILURE() << "could not make the " << row.name << " (mknod needs root)";
            continue;
        }
        if (row.throughLink) {
            fs::create_symlink("node", dir.file("ptsCass.dat"));
        }
        const Refusal refusal = refusalOf(velkaro::runConversion(requestFor(dir, "pts.txt")));
        EXPECT_EQ(refusal.reason, velkaro::FailureReason::NotRegularFile) << row.name;
        EXPECT_EQ(refusal.path, node);
        struct stat status {};
        ASSERT_EQ(lstat(node.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & S_IFMT, row.type) << row.name;
    }
}

// Fault: the set-user-ID and set-group-ID bits of an old output were carried onto the new one:
// a planted set-user-ID file named like an output became root's own set-user-ID program.
TEST(Regression, SetIdBitsCarriedOntoTheNewOutput) {
    for (const mode_t mode : {04755u, 02755u, 06775u, 01644u}) {
        TempDir dir;
        writeBytes(dir.file("pts.txt"), kSource);
        writeBytes(dir.file("ptsCass.dat"), "earlier");
        ASSERT_EQ(chmod(dir.file("ptsCass.dat").c_str(), mode), 0);
        EXPECT_EQ(velkaro::runConversion(requestFor(dir, "pts.txt")).kind, Kind::Converted);
        struct stat status {};
        ASSERT_EQ(stat(dir.file("ptsCass.dat").c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode & 01777) << std::oct << mode;
    }
}

#ifndef VELKARO_ASAN
namespace {

// A source of points whose codes all differ; a quarter of them NULL, so that the point's
// distinct name stands in. The GIS formats need an easting with its zone (39: EPSG:4527).
std::string distinctCodesSource(int points, const std::string &east = "516356.3253") {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(points) * 64);
    for (int i = 0; i < points; ++i) {
        const std::string number = std::to_string(i);
        bytes += "1,2,P" + number + "," + (i % 4 == 0 ? "NULL" : "C" + number) + ",3515191.0194," +
                 east + ",41.8932\r\n";
    }
    return bytes;
}

// The peak resident memory of a run, in KiB, as /usr/bin/time measures it.
long peakKilobytes(const velkaro::test::ProgramRun &run) {
    const std::size_t at = run.err.rfind("peak ");
    return at == std::string::npos ? -1 : std::atol(run.err.c_str() + at + 5);
}

// Converts 2,000,000 points of distinct codes, in zone 39, to a GIS format under /usr/bin/time
// and checks that it succeeded within 64 MiB.
void expectGisRunWithin64MiB(const TempDir &dir, const char *format) {
    ASSERT_EQ(std::system("test -x /usr/bin/time"), 0) << "scripts/deps test installs time";
    writeBytes(dir.file("codes.txt"), distinctCodesSource(2000000, "39516356.3253"));
    const velkaro::test::ProgramRun run =
        runConverter(dir.path(), {"-f", format, "--crs", "EPSG:4527", "codes.txt"},
                     "/usr/bin/time -f 'peak %M' ");
    EXPECT_EQ(run.status, 0) << run.err;
    const long peak = peakKilobytes(run);
    EXPECT_GT(peak, 0) << run.err;
    EXPECT_LT(peak, 64 * 1024) << format << ": peak " << peak << " KiB";
}

} // namespace

// Fault: --summary kept every distinct code: 2,000,000 of them peaked at about 600 MiB, and
// --json at 1.3 GiB, so that the kernel killed the run in a 1 GiB container. The summary keeps
// the first codes and counts the rest together now; the JSON is written as it goes. Measured
// with /usr/bin/time's peak resident size, which must stay under 64 MiB.
TEST(Regression, SummaryOfManyDistinctCodesTookUnboundedMemory) {
    ASSERT_EQ(std::system("test -x /usr/bin/time"), 0) << "scripts/deps test installs time";
    TempDir dir;
    constexpr int kPoints = 2000000;
    writeBytes(dir.file("codes.txt"), distinctCodesSource(kPoints));
    for (const char *option : {"--summary", "--json"}) {
        const velkaro::test::ProgramRun run = runConverter(
            dir.path(), {"-f", "kaisi", option, "codes.txt"}, "/usr/bin/time -f 'peak %M' ");
        EXPECT_EQ(run.status, 0) << run.err;
        const long peak = peakKilobytes(run);
        EXPECT_GT(peak, 0) << run.err;
        EXPECT_LT(peak, 64 * 1024) << option << ": peak " << peak << " KiB";
        const std::string others = std::string(option) == "--json"
                                       ? "\"otherCodes\":{\"codesListed\":10000,\"points\":1990000,"
                                       : "  其余编码 (前 10000 个编码之后): 1990000 点, x ";
        EXPECT_NE(run.out.find(others), std::string::npos) << option;
    }
}

// Fault: KML kept a Folder, with its bookkeeping, for every distinct code: 2,000,000 of them
// peaked at about 370 MiB. The codes after the first 10,000 now share one last Folder, and the
// chunks gathered in the scratch file are chained there rather than listed in memory.
TEST(Regression, KmlMemoryStaysBoundedWithManyCodes) {
    TempDir dir;
    expectGisRunWithin64MiB(dir, "kml");
    EXPECT_TRUE(fs::is_regular_file(dir.file("codes.kml")));
}

// Fault: the GeoPackage was built in an in-memory database as large as the file: 2,000,000
// points peaked at about 150 MiB. It is built in a scratch database with a bounded page cache
// now, and copied into the output a piece at a time.
TEST(Regression, GeoPackageMemoryStaysBounded) {
    TempDir dir;
    expectGisRunWithin64MiB(dir, "gpkg");
    const std::string counted = velkaro::test::commandOutput(
        "ogrinfo -ro -so " + velkaro::test::shellQuoted(dir.file("codes.gpkg")) + " codes");
    EXPECT_NE(counted.find("Feature Count: 2000000"), std::string::npos) << counted;
}
#endif

namespace {

// The source and the codes of velkaro-convert's JSON as Python's json module reads them: each
// one's text and, where given, its bytes, then the encoding; "invalid" when the output is no strict
// UTF-8 JSON or holds a lone surrogate, which no UTF-8 text can carry.
std::string codesAsParsed(const TempDir &dir, const std::vector<std::string> &arguments) {
    const velkaro::test::ProgramRun run = runConverter(dir.path(), arguments);
    writeBytes(dir.file("report.json"), run.out);
    const std::string script =
        "import json,sys\n"
        "try:\n"
        "    r = json.loads(open(sys.argv[1], 'rb').read().decode('utf-8'))\n"
        "    print(r['source'].encode('utf-8').decode('utf-8'), r.get('sourceBytes', '-'))\n"
        "    for c in r['codes']:\n"
        "        print(c['code'].encode('utf-8').decode('utf-8'), c.get('codeBytes', '-'))\n"
        "    print(r['encoding'])\n"
        "except (ValueError, UnicodeError) as e:\n"
        "    print('invalid', e)\n";
    writeBytes(dir.file("read.py"), script);
    const velkaro::test::ProgramRun parsed =
        runConverter(dir.path(), {dir.file("read.py"), dir.file("report.json")}, "", "python3");
    return parsed.out;
}

} // namespace

// Fault: the JSON wrote the GBK bytes of codes and names as lone \udcXX escapes, which jq and
// every strict reader turn into replacement characters (甲 and 乙 both came out as two of them).
// The text is decoded now (GB18030 unless the source's codes are valid UTF-8, or as
// --source-encoding says), and undecodable bytes come beside it in hexadecimal. Read back by
// Python's json module.
TEST(Regression, JsonGaveGbkTextAsLoneSurrogates) {
    TempDir dir;
    writeBytes(dir.file("gbk.txt"), "1,2,P1,\xbc\xd7,1,2,3\r\n1,2,P2,\xd2\xd2,1,2,3\r\n"
                                    "1,2,P3,A\x80\xff,1,2,3\r\n"
                                    "1,2,\xbf\xd8\xd6\xc6\xb5\xe3"
                                    "5,NULL,1,2,3\r\n");
    writeBytes(dir.file("utf8.txt"), "1,2,P1,甲,1,2,3\r\n1,2,控制点5,NULL,1,2,3\r\n");
    writeBytes(dir.file("\xbf\xd8.txt"), readBytes(dir.file("utf8.txt")));
    const struct {
        std::vector<std::string> arguments;
        std::string codes;
    } rows[] = {
        {{"-f", "kaisi", "--json", "gbk.txt"},
         "gbk.txt -\n甲 -\n乙 -\nA\xef\xbf\xbd\xef\xbf\xbd 4180ff\n控制点5 -\ngb18030\n"},
        {{"-f", "kaisi", "--json", "utf8.txt"}, "utf8.txt -\n甲 -\n控制点5 -\nutf-8\n"},
        // A file name in GBK: its bytes beside the text.
        {{"-f", "kaisi", "--json", "\xbf\xd8.txt"},
         "\xef\xbf\xbd\xef\xbf\xbd.txt bfd82e747874\n甲 -\n控制点5 -\nutf-8\n"},
        {{"-f", "kaisi", "--json", "--source-encoding=gbk", "utf8.txt"},
         "utf8.txt -\n鐢\xef\xbf\xbd e794b2\n鎺у埗鐐\xef\xbf\xbd"
         "5 e68ea7e588b6e782b935\ngb18030\n"},
        {{"-f", "kaisi", "--json", "--source-encoding", "UTF-8", "gbk.txt"},
         "gbk.txt -\n\xef\xbf\xbd\xef\xbf\xbd bcd7\n\xef\xbf\xbd\xef\xbf\xbd d2d2\n"
         "A\xef\xbf\xbd\xef\xbf\xbd 4180ff\n"
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbdƵ\xef\xbf\xbd"
         "5 "
         "bfd8d6c6b5e335\nutf-8\n"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(codesAsParsed(dir, row.arguments), row.codes) << row.arguments.back();
    }
}
#endif
