// velkaro-convert: the command-line front end over the conversion core, for batch work.

#include "command_line.h"
#include "conversion_run.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::cli::CommandLine;

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

// Prints what one conversion did; the short-line warning only once per source (warned).
void report(const std::string &source, const ConversionOutcome &outcome, bool &warned) {
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        std::fprintf(stderr, "velkaro-convert: %s: %s\n", source.c_str(), outcome.message.c_str());
        return;
    }
    std::printf("%s -> %s (%llu 点)\n", source.c_str(), outcome.outputPath.c_str(),
                static_cast<unsigned long long>(outcome.pointsWritten));
    if (outcome.stoppedAtLine != 0 && !warned) {
        warned = true;
        std::fprintf(stderr,
                     "velkaro-convert: 警告: %s 第 %llu 行不足 10 字节，读取在此停止，"
                     "此行及其后的内容没有转换\n",
                     source.c_str(), static_cast<unsigned long long>(outcome.stoppedAtLine));
    }
}

// Converts every source to every format asked for; later sources still run after a failure.
[[nodiscard]] bool convertAll(const CommandLine &line) {
    bool allConverted = true;
    for (const std::string &source : line.sources) {
        const std::size_t nameStart = fileNameStart(source);
        bool warned = false;
        for (const std::string &itemText : line.formatItemTexts) {
            ConversionRequest request;
            request.sourcePath = source;
            request.sourceFileName = source.substr(nameStart);
            request.formatItemText = itemText;
            request.outputFolder =
                line.outputFolder.empty() ? source.substr(0, nameStart) : line.outputFolder;
            const ConversionOutcome outcome = velkaro::runConversion(request);
            report(source, outcome, warned);
            allConverted = allConverted && outcome.kind == ConversionOutcome::Kind::Converted;
        }
        std::fflush(stdout);
    }
    return allConverted;
}

} // namespace

int main(int argc, char **argv) {
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
