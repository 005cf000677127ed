#include "conversion_run.h"

#include "file_names.h"
#include "file_system_path.h"
#include "line_cutter.h"
#include "output_file.h"
#include "output_stream.h"
#include "point_record.h"
#include "record_writer.h"
#include "source_stream.h"
#include "summary_collector.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace velkaro {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] ConversionOutcome outcome(Kind kind, const ConversionRequest &request,
                                        const std::string &outputFileName = {}) {
    ConversionOutcome result(kind);
    result.sourcePath = request.sourcePath;
    result.outputFileName = outputFileName;
    return result;
}

[[nodiscard]] ConversionOutcome failed(Kind kind, const ConversionRequest &request,
                                       const std::string &outputFileName, FileFailure failure) {
    ConversionOutcome result = outcome(kind, request, outputFileName);
    result.failure = std::move(failure);
    return result;
}

// Whether the output's name leads to the source file itself (through a link): moving the output
// there would replace the only copy of the field data.
[[nodiscard]] bool isSameFile(const std::string &source, const std::string &output) {
    std::error_code error;
    return std::filesystem::equivalent(toFileSystemPath(source), toFileSystemPath(output), error);
}

[[nodiscard]] bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// What the reading loop found, and where it was in the file.
struct ReadingResult {
    ReadingReport report;
    std::uint64_t pointsWritten = 0;

    // A read that starts in the line where the one before it started continues a line longer
    // than the buffer; each such line counts once.
    void notePiece(std::uint64_t lineNumber) {
        if (lineNumber == m_lastLine) {
            report.longLines.note(lineNumber);
        }
        m_lastLine = lineNumber;
    }

  private:
    std::uint64_t m_lastLine = 0;
};

// The short line ends the conversion; the rest of the file is only counted, so that the user
// learns how much was left out. Blank lines at the end of an export are worth no word; a zero
// byte always is, since no text export holds one.
void noteEarlyStop(SourceStream &source, const SourceLine &line, std::uint64_t lineNumber,
                   ReadingReport &report) {
    report.linesNotConverted = source.countContentLinesLeft();
    report.linesNotConverted += source.countContentLinesAfterEndOfFileByte();
    if (line.zeroByte || !isBlank(line.text) || report.linesNotConverted != 0) {
        report.stop = line.zeroByte ? StopReason::ZeroByte : StopReason::ShortLine;
        report.stoppedAtLine = lineNumber;
    }
}

// A byte 0x1A ended the reading with more lines behind it, which the old tool never saw.
void noteEndOfFileByte(SourceStream &source, ReadingReport &report) {
    if (!source.endedAtEndOfFileByte() || report.stoppedAtLine != 0) {
        return;
    }
    const std::uint64_t left = source.countContentLinesAfterEndOfFileByte();
    if (left != 0) {
        report.stop = StopReason::EndOfFileByte;
        report.stoppedAtLine = source.endOfFileByteLine();
        report.linesNotConverted = left;
    }
}

// Zero bytes, or lines whose coordinates are mostly no numbers: whatever this is, it is no
// point export, however "successfully" it converts.
[[nodiscard]] bool looksLikeNoText(const ReadingReport &report) {
    const std::uint64_t junk = report.withoutCoordinates.count + report.leftOut.count;
    return !report.zeroBytes.empty() || report.stop == StopReason::ZeroByte ||
           (report.piecesTaken != 0 && 2 * junk > report.piecesTaken);
}

// Reads line by line, stopping at the end of the file or at a line shorter than ten bytes, and
// writes the record once for every line taken, unless the options leave that line out.
[[nodiscard]] ReadingResult convertLines(SourceStream &source, RecordWriter &writer,
                                         const ConversionOptions &options,
                                         SummaryCollector *collector) {
    ReadingResult result;
    ReadingReport &report = result.report;
    LineCutter cutter;
    SourceLine line;
    while (!source.eof()) {
        const std::uint64_t lineNumber = source.lineFeedsRead() + 1;
        if (!source.nextLine(line)) {
            break;
        }
        result.notePiece(lineNumber);
        report.linesRead = lineNumber;
        if (line.measuredLength() < kMinimumLineLength) {
            noteEarlyStop(source, line, lineNumber, report);
            break;
        }
        ++report.piecesTaken;
        if (line.zeroByte) {
            report.zeroBytes.note(lineNumber);
        }
        cutter.apply(line);
        if (options.leaveOutLinesWithoutCoordinates && cutter.holdsNoCoordinate()) {
            report.leftOut.note(lineNumber);
            continue;
        }
        writer.write(cutter.record());
        if (!cutter.holdsAllCoordinates()) {
            report.withoutCoordinates.note(lineNumber);
        }
        ++result.pointsWritten;
        if (collector != nullptr) {
            collector->addPoint(cutter.record());
        }
    }
    noteEndOfFileByte(source, report);
    report.notText = looksLikeNoText(report);
    return result;
}

// The source was read whole and as it was; otherwise why not.
[[nodiscard]] std::optional<ConversionOutcome> checkSourceRead(const SourceStream &source,
                                                               const ConversionRequest &request,
                                                               const std::string &outputName) {
    if (source.failed()) {
        // A read error looks like the end of the file: without this the output would silently
        // stop where the medium failed.
        return failed(Kind::SourceReadFailed, request, outputName,
                      failureOf(request.sourcePath, source.readError()));
    }
    if (source.changedSinceOpened()) {
        // Rewritten while it was read: the lines taken may come from both versions.
        return outcome(Kind::SourceChanged, request, outputName);
    }
    return std::nullopt;
}

// Writes every record into the output's temporary file and puts it in place.
[[nodiscard]] ConversionOutcome writeOutput(SourceStream &source, OutputFile &output,
                                            const ConversionRequest &request,
                                            const std::string &outputName) {
    OutputStream out(output.file());
    RecordWriter writer(out, *request.format, request.options);
    std::optional<SummaryCollector> collector;
    if (request.options.summary) {
        collector.emplace();
    }
    writer.begin();
    const ReadingResult reading =
        convertLines(source, writer, request.options, collector ? &*collector : nullptr);
    writer.end();
    if (std::optional<ConversionOutcome> refused = checkSourceRead(source, request, outputName)) {
        return std::move(*refused);
    }
    out.flush();
    if (!out.ok()) {
        return failed(Kind::OutputWriteFailed, request, outputName,
                      failureOf(output.finalPath(), out.error()));
    }
    if (!output.close()) {
        return failed(Kind::OutputWriteFailed, request, outputName, output.failure());
    }
    const FolderSync sync = request.folderSyncLater ? FolderSync::Later : FolderSync::Now;
    if (!output.commit(sync)) {
        return failed(Kind::OutputCreateFailed, request, outputName, output.failure());
    }
    ConversionOutcome result = outcome(Kind::Converted, request, outputName);
    result.outputPath = output.finalPath();
    if (sync == FolderSync::Later) {
        result.folderToSync = output.folderToSync();
    }
    result.pointsWritten = reading.pointsWritten;
    result.reading = reading.report;
    if (collector) {
        result.summary = collector->summary(reading.report.linesRead, reading.report.piecesTaken);
    }
    return result;
}

[[nodiscard]] ConversionOutcome convertFile(const ConversionRequest &request,
                                            const std::string &outputName) {
    SourceStream source(request.sourcePath);
    if (!source.isOpen()) {
        return failed(Kind::SourceOpenFailed, request, outputName, source.openFailure());
    }
    OutputFile output(request.outputFolder, outputName);
    if (isSameFile(request.sourcePath, output.finalPath())) {
        ConversionOutcome refused = outcome(Kind::OutputIsSource, request, outputName);
        refused.conflictingSource = request.sourcePath;
        return refused;
    }
    if (!output.create()) {
        return failed(Kind::OutputCreateFailed, request, outputName, output.failure());
    }
    return writeOutput(source, output, request, outputName);
}

} // namespace

std::optional<ConversionOutcome> checkRequest(const ConversionRequest &request) {
    if (request.sourcePath.empty()) {
        return outcome(Kind::NoSource, request);
    }
    if (!request.format) {
        return outcome(Kind::NoFormat, request);
    }
    if (!areValid(request.options)) {
        return outcome(Kind::InvalidOptions, request);
    }
    return std::nullopt;
}

ConversionOutcome runConversion(const ConversionRequest &request) noexcept {
    // Building an outcome allocates too: when even that fails, the bare kind is all there is.
    try {
        try {
            if (std::optional<ConversionOutcome> refused = checkRequest(request)) {
                return std::move(*refused);
            }
            return convertFile(request,
                               makeOutputFileName(request.sourceFileName, *request.format));
        } catch (const std::bad_alloc &) {
            // The output object has removed its temporary file.
            return outcome(Kind::OutOfMemory, request);
        } catch (...) {
            return outcome(Kind::Unexpected, request);
        }
    } catch (const std::bad_alloc &) {
        return ConversionOutcome(Kind::OutOfMemory);
    }
}

} // namespace velkaro
