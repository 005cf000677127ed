// libFuzzer target over the whole conversion run: the input is the source file's bytes, and each
// input goes through runConversion once for every format, through real files in a folder on a
// memory file system. Every run is checked against the reliability invariants (source untouched,
// nothing half-written, no temporary file left) and, byte for byte, against the plain reference
// model of tests/core/reference_model.cpp.
//
// Any violation prints what was wrong and aborts, so libFuzzer keeps the input as a crash file.

#include "conversion_run.h"
#include "reference_model.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::TargetFormat;

constexpr std::string_view kDxfOpener = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
constexpr std::string_view kDxfCloser = "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
constexpr std::uint64_t kDxfLinesPerPoint = 10; // see the note in docs/reliability.md

[[noreturn]] void fail(const char *what, std::string_view detail = {}) {
    std::fprintf(stderr, "\nINVARIANT BROKEN: %s %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void check(bool condition, const char *what, std::string_view detail = {}) {
    if (!condition) {
        fail(what, detail);
    }
}

// The working folder: on /dev/shm when there is one, so that no disk is touched.
struct WorkFolder {
    fs::path path;
    std::string source;

    WorkFolder() {
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0
                                  ? fs::path("/dev/shm")
                                  : fs::temp_directory_path();
        path = base / ("velkaro-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path);
        source = (path / "src.txt").string();
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

WorkFolder &folder() {
    static WorkFolder work; // removed at exit, after libFuzzer's -max_total_time too
    return work;
}

void writeFile(const std::string &path, const std::uint8_t *data, std::size_t size) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    check(file != nullptr, "cannot create the source", path);
    check(std::fwrite(data, 1, size, file) == size, "cannot write the source", path);
    check(std::fclose(file) == 0, "cannot close the source", path);
}

std::string readFile(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    check(file != nullptr, "cannot open", path);
    std::string bytes;
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, count);
    }
    std::fclose(file);
    return bytes;
}

std::uint64_t countOf(std::string_view text, std::string_view what) {
    std::uint64_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// The invariants of the issue, checked on the output alone, independent of the model.
// Every POINT entity has its group codes in their places. Walked line by line rather than by
// searching for "POINT", which a layer may be called too.
void checkDxfEntities(std::string_view output, std::uint64_t points) {
    static constexpr std::string_view kFixed[10] = {"  0", "POINT", "8", {},    " 10",
                                                    {},    " 20",   {},  " 30", {}};
    std::size_t at = kDxfOpener.size();
    for (std::uint64_t point = 0; point < points; ++point) {
        for (std::string_view expected : kFixed) {
            const std::size_t end = output.find("\r\n", at);
            check(end != std::string_view::npos, "DXF entity cut short");
            const std::string_view line = output.substr(at, end - at);
            check(expected.empty() || line == expected, "DXF group code out of place", line);
            at = end + 2;
        }
    }
    check(output.substr(at) == kDxfCloser, "DXF entities not followed by the closer");
}

void checkShape(std::string_view output, TargetFormat format, std::uint64_t points) {
    // Record values never hold a line feed (it is a delimiter), so every line feed written is
    // the end of a template line and comes as CR LF.
    const std::uint64_t lineFeeds = countOf(output, "\n");
    check(lineFeeds == countOf(output, "\r\n"), "a line feed without its CR");
    if (format == TargetFormat::Cad) {
        check(output.starts_with(kDxfOpener), "DXF does not start with the opener");
        check(output.ends_with(kDxfCloser), "DXF does not end with the closer");
        check(output.size() >= kDxfOpener.size() + kDxfCloser.size(), "DXF too short");
        check(lineFeeds == 8 + kDxfLinesPerPoint * points, "DXF lines are not 8 + 10 per point");
        checkDxfEntities(output, points);
    } else {
        check(lineFeeds == points, "not one line per point");
        // Values hold no comma either: exactly four separators on every line.
        check(countOf(output, ",") == 4 * points, "not five columns on every line");
        check(points == 0 || output.ends_with("\r\n"), "last line not ended");
    }
}

void convertOnce(const std::string &sourceBytes, TargetFormat format,
                 velkaro::TargetFormat itemText) {
    WorkFolder &work = folder();
    ConversionRequest request;
    request.sourcePath = work.source;
    request.sourceFileName = "src.txt";
    request.format = itemText;
    request.outputFolder = work.path.string();

    struct stat before {};
    check(stat(work.source.c_str(), &before) == 0, "cannot stat the source");
    const ConversionOutcome outcome = velkaro::runConversion(request);
    check(outcome.kind == ConversionOutcome::Kind::Converted, "not Converted",
          "kind " + std::to_string(static_cast<int>(outcome.kind)));

    const std::string output = readFile(outcome.outputPath);
    checkShape(output, format, outcome.pointsWritten);

    const velkaro::test::ModelRun model = velkaro::test::modelConversion(sourceBytes, format);
    check(outcome.pointsWritten == model.linesTaken, "points written != lines taken");
    check(outcome.reading.stoppedAtLine == model.stoppedAtLine,
          "stoppedAtLine differs from the model");
    if (output != model.output) {
        std::size_t at = 0;
        while (at < output.size() && at < model.output.size() && output[at] == model.output[at]) {
            ++at;
        }
        const std::size_t from = at > 40 ? at - 40 : 0;
        fail("output differs from the model near",
             "\n core:  " + output.substr(from, 100) +
                 "\n model: " + model.output.substr(from, 100));
    }

    // The source is never touched, and nothing but the source and the output is left.
    struct stat after {};
    check(stat(work.source.c_str(), &after) == 0, "the source is gone");
    check(after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
              after.st_mtim.tv_nsec == before.st_mtim.tv_nsec && after.st_size == before.st_size,
          "the source was modified");
    std::size_t entries = 0;
    for (const auto &entry : fs::directory_iterator(work.path)) {
        (void)entry;
        ++entries;
    }
    check(entries == 2, "a temporary file was left behind");
    check(std::remove(outcome.outputPath.c_str()) == 0, "cannot remove the output");
}

// The groups of one labelled point after the HEADER: the POINT, then its name and elevation
// labels. Empty entries are values.
constexpr std::string_view kLabelledPoint[] = {
    "  0", "POINT", "8",   {},    " 10", {},    " 20", {},    " 30", {},    "  0", "TEXT", "  8",
    "ZDH", " 10",   {},    " 20", {},    " 30", {},    " 40", {},    "  1", {},    "  0",  "TEXT",
    "  8", "GCD",   " 10", {},    " 20", {},    " 30", {},    " 40", {},    "  1", {}};
constexpr std::string_view kCodePageOpener =
    "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n"
    "  1\r\nAC1009\r\n  9\r\n$DWGCODEPAGE\r\n  3\r\n"
    "ANSI_936\r\n  0\r\nENDSEC\r\n";

// Every option at once: the DXF keeps its shape (a point and two labels, each group in place,
// whatever the names hold), and the summary adds up.
void convertWithOptions() {
    WorkFolder &work = folder();
    ConversionRequest request;
    request.sourcePath = work.source;
    request.sourceFileName = "src.txt";
    request.format = velkaro::TargetFormat::Cad;
    request.outputFolder = work.path.string();
    request.options.dxfCodePage = 936;
    request.options.dxfAxes = velkaro::DxfAxes::En;
    request.options.dxfLabels = velkaro::DxfLabels{};
    request.options.leaveOutLinesWithoutCoordinates = true;
    request.options.summary = true;
    const ConversionOutcome outcome = velkaro::runConversion(request);
    check(outcome.kind == ConversionOutcome::Kind::Converted, "not Converted",
          "kind " + std::to_string(static_cast<int>(outcome.kind)));
    const std::string output = readFile(outcome.outputPath);
    check(countOf(output, "\n") == countOf(output, "\r\n"), "a line feed without its CR");
    check(output.starts_with(std::string(kCodePageOpener) + std::string(kDxfOpener)),
          "no HEADER before the opener");
    std::size_t at = kCodePageOpener.size() + kDxfOpener.size();
    for (std::uint64_t point = 0; point < outcome.pointsWritten; ++point) {
        for (std::string_view expected : kLabelledPoint) {
            const std::size_t end = output.find("\r\n", at);
            check(end != std::string::npos, "labelled point cut short");
            check(expected.empty() || output.compare(at, end - at, expected) == 0,
                  "group code of a labelled point out of place", output.substr(at, end - at));
            at = end + 2;
        }
    }
    check(output.compare(at, std::string::npos, kDxfCloser) == 0, "labelled points not closed");
    check(outcome.summary.has_value(), "no summary");
    check(outcome.summary->codes.size() <= velkaro::kMaxSummaryCodes, "too many codes kept");
    std::uint64_t summed = outcome.summary->otherCodes.points;
    for (const velkaro::CodeSummary &code : outcome.summary->codes) {
        summed += code.points;
    }
    check(summed == outcome.pointsWritten, "the codes' points do not add up");
    check(outcome.summary->linesTaken >= outcome.pointsWritten + outcome.reading.leftOut.count,
          "lines taken fewer than written and left out");
    check(std::remove(outcome.outputPath.c_str()) == 0, "cannot remove the output");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string source(reinterpret_cast<const char *>(data), size);
    writeFile(folder().source, data, size);
    convertOnce(source, TargetFormat::Cass, velkaro::TargetFormat::Cass);
    convertOnce(source, TargetFormat::Kaisi, velkaro::TargetFormat::Kaisi);
    convertOnce(source, TargetFormat::Cad, velkaro::TargetFormat::Cad);
    convertWithOptions();
    check(readFile(folder().source) == source, "the source bytes changed");
    return 0;
}
