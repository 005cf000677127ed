// velkaro-convert: the command-line front end over the conversion core, for batch work.

#include "command_line.h"
#include "conversion_plan.h"
#include "conversion_run.h"
#include "file_names.h"
#include "folder_sync.h"
#include "layer_writers.h"
#include "memory_reserve.h"
#include "outcome_text.h"
#include "printable_text.h"
#include "summary_report.h"
#include "velkaro_version.h"
#include "warning_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using velkaro::ConversionOutcome;
using velkaro::ConversionRequest;
using velkaro::PlannedConversion;
using velkaro::cli::CommandLine;
using velkaro::cli::printable;

// The first error that writing to standard output met; 0 while there was none.
int standardOutputError = 0;

void flushStandardOutput() {
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && standardOutputError == 0) {
        standardOutputError = errno != 0 ? errno : EIO;
    }
}

// Names reach the terminal as their bytes, control bytes escaped so that one name stays on one
// line.
[[nodiscard]] std::string decodeName(std::string_view name) {
    return printable(std::string(name));
}

// "velkaro-convert: <source>: " before each line of text, so that every line of standard error
// says which source it is about.
void printLines(const std::string &name, const std::string &text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::fprintf(stderr, "velkaro-convert: %s: %s\n", name.c_str(),
                     text.substr(start, end - start).c_str());
        start = end + 1;
    }
}

// Prints what one conversion did: a line (and the summary when asked for) or, with --json, one
// JSON object on standard output; the warnings only once per source (warned), since every format
// reads the same lines.
void report(const std::string &source, velkaro::TargetFormat format, const CommandLine &line,
            const ConversionOutcome &outcome, bool &warned) {
    const std::string name = printable(source);
    if (line.json) {
        velkaro::cli::writeJsonReport(stdout, source, format, outcome, line);
    }
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        printLines(name, velkaro::wording::outcomeText(outcome, decodeName));
        return;
    }
    if (!line.json) {
        std::printf("%s -> %s (%s)\n", name.c_str(), printable(outcome.outputPath).c_str(),
                    velkaro::wording::pointsText(outcome.pointsWritten).c_str());
        velkaro::cli::writeSummaryText(stdout, outcome);
    }
    if (!warned) {
        warned = true;
        if (const std::string layout = velkaro::wording::layoutText(outcome); !layout.empty()) {
            printLines(name, layout);
        }
        if (const std::string crs = velkaro::wording::crsText(outcome); !crs.empty()) {
            printLines(name, crs);
        }
        for (const velkaro::WarningKind warning : velkaro::warningsOf(outcome)) {
            printLines(name,
                       velkaro::wording::warningText(warning, outcome, velkaro::LineList::kKept));
        }
    }
}

// One request per source and format, sources first: the order in which they run.
[[nodiscard]] std::vector<ConversionRequest> requestsFor(const CommandLine &line) {
    std::vector<ConversionRequest> requests;
    for (const std::string &source : line.sources) {
        const std::size_t nameStart = velkaro::fileNameStart(source, velkaro::kNativePathStyle);
        for (const velkaro::TargetFormat format : line.formats) {
            ConversionRequest request;
            request.sourcePath = source;
            request.sourceFileName = source.substr(nameStart);
            request.format = format;
            request.outputFolder =
                line.outputFolder.empty() ? source.substr(0, nameStart) : line.outputFolder;
            request.options = line.options;
            requests.push_back(std::move(request));
        }
    }
    return requests;
}

// The conversions of one source, one per format. With several formats, each output is flushed to
// the disk and moved into place as ever, but their folder is flushed once after the last of them
// instead of after each.
[[nodiscard]] std::vector<ConversionOutcome> convertSource(const PlannedConversion *first,
                                                           std::size_t formats) {
    std::vector<ConversionOutcome> outcomes;
    for (const PlannedConversion *planned = first; planned != first + formats; ++planned) {
        ConversionRequest request = planned->request;
        request.folderSyncLater = formats > 1;
        // Not one conditional expression: it would copy the run's outcome, summary and all.
        if (planned->refusal) {
            outcomes.push_back(*planned->refusal);
        } else {
            outcomes.push_back(velkaro::runConversion(request));
        }
        if (outcomes.back().kind == ConversionOutcome::Kind::OutOfMemory) {
            velkaro::cli::MemoryReserve::restore();
        }
    }
    std::vector<std::string> synced;
    for (const ConversionOutcome &outcome : outcomes) {
        const std::optional<std::string> &folder = outcome.folderToSync;
        if (folder && std::find(synced.begin(), synced.end(), *folder) == synced.end()) {
            velkaro::syncFolder(*folder);
            synced.push_back(*folder);
        }
    }
    return outcomes;
}

// Plans the whole run before anything is written, then converts every source to every format
// asked for; later conversions still run after a failure. The report lines of a source are out as
// soon as its outputs are in place and their names on the disk.
[[nodiscard]] bool convertAll(const CommandLine &line) {
    for (const velkaro::cli::OptionWarning &warning : line.warnings) {
        std::fprintf(stderr, "velkaro-convert: %s\n", warning.text.c_str());
    }
    const std::vector<PlannedConversion> plan = velkaro::planConversions(requestsFor(line));
    const std::size_t formats = line.formats.size();
    bool allConverted = true;
    for (std::size_t first = 0; first < plan.size(); first += formats) {
        const std::vector<ConversionOutcome> outcomes = convertSource(&plan[first], formats);
        bool warned = false;
        for (std::size_t i = 0; i < formats; ++i) {
            const ConversionRequest &request = plan[first + i].request;
            report(request.sourcePath, *request.format, line, outcomes[i], warned);
            flushStandardOutput();
            allConverted = allConverted && outcomes[i].kind == ConversionOutcome::Kind::Converted;
        }
    }
    return allConverted;
}

// Everything but the final check of standard output.
[[nodiscard]] int run(int argc, char **argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const velkaro::cli::ParsedCommandLine parsed = velkaro::cli::parseCommandLine(arguments);
    if (!parsed.commandLine) {
        if (parsed.json) {
            velkaro::cli::writeJsonUsageError(stdout, parsed.error);
        }
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
    velkaro::usePointLayerWriters(&velkaro::gis::layerWriters());
    int status = 1;
    try {
        status = run(argc, argv);
    } catch (const std::bad_alloc &) {
        // Outside a conversion (the core reports its own); its temporary files are gone.
        std::fprintf(stderr, "velkaro-convert: %s\n", velkaro::wording::outOfMemoryText().c_str());
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
