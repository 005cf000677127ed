// velkaro-convert: the command-line front end over the conversion core, for batch work.

#include "command_line.h"
#include "conversion_plan.h"
#include "conversion_run.h"
#include "memory_reserve.h"
#include "printable_text.h"
#include "summary_report.h"
#include "velkaro_version.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::PlannedConversion;
using velkaro::cli::CommandLine;
using velkaro::cli::printable;

// Everything after the last separator; on Windows a backslash separates too, and so does the
// colon of a drive ("D:pts.txt" is pts.txt in the current folder of drive D).
[[nodiscard]] std::size_t fileNameStart(const std::string &path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\:");
#else
    const std::size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? 0 : slash + 1;
}

// The first error that writing to standard output met; 0 while there was none.
int standardOutputError = 0;

void flushStandardOutput() {
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && standardOutputError == 0) {
        standardOutputError = errno != 0 ? errno : EIO;
    }
}

[[nodiscard]] unsigned long long count(std::uint64_t value) {
    return static_cast<unsigned long long>(value);
}

// One warning per line of the source, the first ten of them, then the count.
void warnAboutLineList(const std::string &name, const std::vector<std::uint64_t> &first,
                       std::uint64_t total, const char *what) {
    for (const std::uint64_t line : first) {
        std::fprintf(stderr, "velkaro-convert: 警告: %s 第 %llu 行%s\n", name.c_str(), count(line),
                     what);
    }
    if (total > first.size()) {
        std::fprintf(stderr, "velkaro-convert: 警告: %s 共 %llu 行%s\n", name.c_str(), count(total),
                     what);
    }
}

// The warnings about what a conversion left out or wrote without coordinates.
void warnAboutLines(const std::string &name, const ConversionOutcome &outcome) {
    if (outcome.stoppedAtLine != 0) {
        std::fprintf(stderr,
                     "velkaro-convert: 警告: %s 第 %llu 行不足 10 字节，读取在此停止，"
                     "其后 %llu 行没有转换\n",
                     name.c_str(), count(outcome.stoppedAtLine), count(outcome.linesNotConverted));
    }
    warnAboutLineList(name, outcome.firstLinesWithoutCoordinates, outcome.linesWithoutCoordinates,
                      "没有坐标数值");
    warnAboutLineList(name, outcome.firstLinesLeftOut, outcome.linesLeftOut,
                      "没有坐标数值，已略去");
    if (outcome.longLines != 0) {
        std::fprintf(stderr,
                     "velkaro-convert: 警告: %s 第 %llu 行超过 255 字节，被分段当作多个点转换 "
                     "(共 %llu 行)\n",
                     name.c_str(), count(outcome.firstLongLine), count(outcome.longLines));
    }
}

// Prints what one conversion did: a line (and the summary when asked for) or, with --json, one
// JSON object on standard output; the warnings only once per source (warned), since every format
// reads the same lines.
void report(const std::string &source, const std::string &itemText, const CommandLine &line,
            const ConversionOutcome &outcome, bool &warned) {
    const std::string name = printable(source);
    if (line.json) {
        std::fputs(velkaro::cli::jsonReport(source, itemText, outcome).c_str(), stdout);
    }
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        std::fprintf(stderr, "velkaro-convert: %s: %s\n", name.c_str(),
                     printable(outcome.message).c_str());
        return;
    }
    if (!line.json) {
        std::printf("%s -> %s (%llu 点)\n", name.c_str(), printable(outcome.outputPath).c_str(),
                    count(outcome.pointsWritten));
        std::fputs(velkaro::cli::summaryText(outcome).c_str(), stdout);
    }
    if (!warned) {
        warned = true;
        warnAboutLines(name, outcome);
    }
}

// One request per source and format, sources first: the order in which they run.
[[nodiscard]] std::vector<ConversionRequest> requestsFor(const CommandLine &line) {
    std::vector<ConversionRequest> requests;
    for (const std::string &source : line.sources) {
        const std::size_t nameStart = fileNameStart(source);
        for (const std::string &itemText : line.formatItemTexts) {
            ConversionRequest request;
            request.sourcePath = source;
            request.sourceFileName = source.substr(nameStart);
            request.formatItemText = itemText;
            request.outputFolder =
                line.outputFolder.empty() ? source.substr(0, nameStart) : line.outputFolder;
            request.options = line.options;
            requests.push_back(std::move(request));
        }
    }
    return requests;
}

// Plans the whole run before anything is written, then converts every source to every format
// asked for; later conversions still run after a failure. Each report line is out as soon as
// its output is in place.
[[nodiscard]] bool convertAll(const CommandLine &line) {
    const std::vector<PlannedConversion> plan = velkaro::planConversions(requestsFor(line));
    bool allConverted = true;
    bool warned = false;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (i % line.formatItemTexts.size() == 0) {
            warned = false; // the first conversion of the next source
        }
        const ConversionOutcome outcome =
            plan[i].refusal ? *plan[i].refusal : velkaro::runConversion(plan[i].request);
        if (outcome.kind == ConversionOutcome::Kind::OutOfMemory) {
            velkaro::cli::MemoryReserve::restore();
        }
        report(plan[i].request.sourcePath, *plan[i].request.formatItemText, line, outcome, warned);
        flushStandardOutput();
        allConverted = allConverted && outcome.kind == ConversionOutcome::Kind::Converted;
    }
    return allConverted;
}

// Everything but the final check of standard output.
[[nodiscard]] int run(int argc, char **argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const velkaro::cli::ParsedCommandLine parsed = velkaro::cli::parseCommandLine(arguments);
    if (!parsed.commandLine) {
        std::fprintf(stderr, "velkaro-convert: %s\n\n%s", parsed.error.c_str(),
                     velkaro::cli::usageText());
        return 2;
    }
    switch (parsed.commandLine->action) {
    case CommandLine::Action::Help:
        std::fputs(velkaro::cli::usageText(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::puts(VELKARO_VERSION);
        return 0;
    case CommandLine::Action::Convert:
        break;
    }
    return convertAll(*parsed.commandLine) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    velkaro::cli::MemoryReserve::install();
    int status = 1;
    try {
        status = run(argc, argv);
    } catch (const std::bad_alloc &) {
        // Outside a conversion (the core reports its own); its temporary files are gone.
        std::fputs("velkaro-convert: 内存不足\n", stderr);
    }
    // The lines on standard output are what scripts read: losing them (a full disk, a closed
    // pipe) is a failure, not a success.
    flushStandardOutput();
    if (standardOutputError != 0) {
        std::fprintf(stderr, "velkaro-convert: 写标准输出错误: %s\n",
                     std::strerror(standardOutputError));
        return status == 0 ? 1 : status;
    }
    return status;
}
