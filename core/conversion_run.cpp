#include "conversion_run.h"

#include "file_system_path.h"
#include "line_cutter.h"
#include "output_file.h"
#include "output_stream.h"
#include "point_record.h"
#include "record_writer.h"
#include "source_stream.h"
#include "summary_collector.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace velkaro {
namespace {

using Kind = ConversionOutcome::Kind;

struct FormatTraits {
    std::string_view suffix;
    std::string_view extension;
};

[[nodiscard]] FormatTraits traitsOf(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return {"Cass", ".dat"};
    case TargetFormat::Kaisi:
        return {"Kaisi", ".txt"};
    case TargetFormat::Cad:
        break;
    }
    return {"CAD", ".dxf"};
}

[[nodiscard]] ConversionOutcome outcome(Kind kind, std::string_view message,
                                        const std::string &outputFileName = {}) {
    ConversionOutcome result;
    result.kind = kind;
    result.outputFileName = outputFileName;
    result.message.assign(message);
    result.message += outputFileName;
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

// Source lines of one kind: how many, and the first numbers (1-based). The pieces of a line
// longer than the buffer count as one line.
struct LineList {
    std::uint64_t count = 0;
    std::vector<std::uint64_t> first; // at most kLinesWithoutCoordinatesKept
    std::uint64_t last = 0;

    void note(std::uint64_t lineNumber) {
        if (last == lineNumber) {
            return;
        }
        last = lineNumber;
        ++count;
        if (first.size() < kLinesWithoutCoordinatesKept) {
            first.push_back(lineNumber);
        }
    }
};

// How far the reading loop got, and what the user should hear about the lines it took.
struct ReadingResult {
    std::uint64_t pointsWritten = 0;
    std::uint64_t piecesLeftOut = 0;
    std::uint64_t linesRead = 0;
    std::uint64_t stoppedAtLine = 0;
    std::uint64_t longLines = 0;
    std::uint64_t firstLongLine = 0;
    std::uint64_t linesNotConverted = 0;
    LineList withoutCoordinates;
    LineList leftOut;

    // A read that starts in the line where the one before it started continues a line longer
    // than the buffer; each such line counts once.
    void notePiece(std::uint64_t lineNumber) {
        if (lineNumber == m_lastLine && lineNumber != m_lastLongLine) {
            ++longLines;
            firstLongLine = firstLongLine == 0 ? lineNumber : firstLongLine;
            m_lastLongLine = lineNumber;
        }
        m_lastLine = lineNumber;
    }

  private:
    std::uint64_t m_lastLine = 0;
    std::uint64_t m_lastLongLine = 0;
};

// The short line ends the conversion; the rest of the file is only counted, so that the user
// learns how much was left out. Blank lines at the end of an export are worth no word.
void noteEarlyStop(SourceStream &source, std::string_view line, std::uint64_t lineNumber,
                   ReadingResult &result) {
    result.linesNotConverted = source.countContentLinesLeft();
    if (!isBlank(line) || result.linesNotConverted != 0) {
        result.stoppedAtLine = lineNumber;
    }
}

// Reads line by line, stopping at the end of the file or at a line shorter than ten bytes, and
// writes the record once for every line taken, unless the options leave that line out.
[[nodiscard]] ReadingResult convertLines(SourceStream &source, RecordWriter &writer,
                                         const ConversionOptions &options,
                                         SummaryCollector *collector) {
    ReadingResult result;
    LineCutter cutter;
    SourceLine line;
    while (!source.eof()) {
        const std::uint64_t lineNumber = source.lineFeedsRead() + 1;
        if (!source.nextLine(line)) {
            break;
        }
        result.notePiece(lineNumber);
        result.linesRead = lineNumber;
        if (line.measuredLength() < kMinimumLineLength) {
            noteEarlyStop(source, line.text, lineNumber, result);
            break;
        }
        cutter.apply(line);
        if (options.leaveOutLinesWithoutCoordinates && cutter.holdsNoCoordinate()) {
            result.leftOut.note(lineNumber);
            ++result.piecesLeftOut;
            continue;
        }
        writer.write(cutter.record());
        if (!cutter.holdsAllCoordinates()) {
            result.withoutCoordinates.note(lineNumber);
        }
        ++result.pointsWritten;
        if (collector != nullptr) {
            collector->addPoint(cutter.record());
        }
    }
    return result;
}

// Copies what the reading loop found into a Converted outcome.
void report(const ReadingResult &reading, const SummaryCollector *collector,
            ConversionOutcome &result) {
    result.pointsWritten = reading.pointsWritten;
    result.stoppedAtLine = reading.stoppedAtLine;
    result.longLines = reading.longLines;
    result.firstLongLine = reading.firstLongLine;
    result.linesNotConverted = reading.linesNotConverted;
    result.linesWithoutCoordinates = reading.withoutCoordinates.count;
    result.firstLinesWithoutCoordinates = reading.withoutCoordinates.first;
    result.linesLeftOut = reading.leftOut.count;
    result.firstLinesLeftOut = reading.leftOut.first;
    if (collector != nullptr) {
        result.summary =
            collector->summary(reading.linesRead, reading.pointsWritten + reading.piecesLeftOut);
    }
}

[[nodiscard]] ConversionOutcome convertFile(const ConversionRequest &request, TargetFormat format,
                                            const std::string &outputFileName) {
    SourceStream source(request.sourcePath);
    if (!source.isOpen()) {
        return outcome(Kind::SourceOpenFailed, "打开源文件错误，请重新选择!");
    }
    OutputFile output(request.outputFolder, outputFileName);
    if (isSameFile(request.sourcePath, output.finalPath()) || !output.create()) {
        return outcome(Kind::OutputCreateFailed, "创建转换文件错误:", outputFileName);
    }
    OutputStream out(output.file());
    RecordWriter writer(out, format, request.options);
    std::optional<SummaryCollector> collector;
    if (request.options.summary) {
        collector.emplace();
    }
    writer.begin();
    const ReadingResult reading =
        convertLines(source, writer, request.options, collector ? &*collector : nullptr);
    writer.end();
    if (source.failed()) {
        // A read error looks like the end of the file: without this the output would silently
        // stop where the medium failed.
        ConversionOutcome failed = outcome(Kind::SourceReadFailed, "读取源文件错误:");
        failed.outputFileName = outputFileName;
        failed.message += request.sourceFileName;
        return failed;
    }
    if (source.changedSinceOpened()) {
        // Rewritten while it was read: the lines taken may come from both versions.
        ConversionOutcome changed = outcome(Kind::SourceChanged, "源文件在转换时被改动:");
        changed.outputFileName = outputFileName;
        changed.message += request.sourceFileName;
        return changed;
    }
    out.flush();
    if (!output.close() || !out.ok()) {
        return outcome(Kind::OutputWriteFailed, "写入转换文件错误:", outputFileName);
    }
    if (!output.commit()) {
        return outcome(Kind::OutputCreateFailed, "创建转换文件错误:", outputFileName);
    }
    ConversionOutcome result =
        outcome(Kind::Converted, "\t转换成功!\n生成转换文件:", outputFileName);
    result.outputPath = output.finalPath();
    report(reading, collector ? &*collector : nullptr, result);
    return result;
}

// Builds its message without needing memory where it can: the short form fits a string's own
// buffer, so even when appending the name fails there is a message.
[[nodiscard]] ConversionOutcome outOfMemory(const ConversionRequest &request) noexcept {
    ConversionOutcome result;
    result.kind = Kind::OutOfMemory;
    try {
        result.message = "内存不足，无法转换:";
        result.message += request.sourceFileName;
    } catch (...) {
        result.message = "内存不足";
    }
    return result;
}

} // namespace

std::optional<TargetFormat> targetFormatFromItemText(std::string_view itemText) {
    if (itemText == kCassItemText) {
        return TargetFormat::Cass;
    }
    if (itemText == kKaisiItemText) {
        return TargetFormat::Kaisi;
    }
    if (itemText == kCadItemText) {
        return TargetFormat::Cad;
    }
    return std::nullopt;
}

std::string makeOutputFileName(std::string_view sourceFileName, TargetFormat format) {
    const std::size_t start = sourceFileName.find_first_not_of('.');
    std::string_view stem;
    if (start != std::string_view::npos) {
        stem = sourceFileName.substr(start, sourceFileName.find('.', start) - start);
    }
    const FormatTraits traits = traitsOf(format);
    std::string name;
    name.reserve(stem.size() + traits.suffix.size() + traits.extension.size());
    name.append(stem).append(traits.suffix).append(traits.extension);
    return name;
}

std::optional<ConversionOutcome> checkRequest(const ConversionRequest &request) {
    if (request.sourcePath.empty()) {
        return outcome(Kind::NoSource, "请选择源文件");
    }
    if (!request.formatItemText || !targetFormatFromItemText(*request.formatItemText)) {
        return outcome(Kind::NoFormat, "请选择转换格式");
    }
    if (!areValid(request.options)) {
        return outcome(Kind::InvalidOptions, "转换选项无效");
    }
    return std::nullopt;
}

ConversionOutcome runConversion(const ConversionRequest &request) noexcept {
    try {
        if (std::optional<ConversionOutcome> refused = checkRequest(request)) {
            return std::move(*refused);
        }
        const TargetFormat format = *targetFormatFromItemText(*request.formatItemText);
        return convertFile(request, format, makeOutputFileName(request.sourceFileName, format));
    } catch (...) {
        // Only running out of memory can throw here; the output object has removed its file.
        return outOfMemory(request);
    }
}

} // namespace velkaro
