#include "conversion_run.h"

#include "file_names.h"
#include "file_system_path.h"
#include "grid_check.h"
#include "layer_feed.h"
#include "layout_cutter.h"
#include "layout_fields.h"
#include "line_cutter.h"
#include "output_file.h"
#include "output_stream.h"
#include "point_record.h"
#include "reading_plan.h"
#include "record_recoder.h"
#include "record_writer.h"
#include "source_stream.h"
#include "summary_collector.h"
#include "text_decoding.h"

#include <algorithm>
#include <cstdio>
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

    // Reads the next line, or 255-byte piece of one, and notes where it lies; false at the end.
    [[nodiscard]] bool nextPiece(SourceStream &source, SourceLine &line,
                                 std::uint64_t &lineNumber) {
        if (source.eof()) {
            return false;
        }
        lineNumber = source.lineFeedsRead() + 1;
        if (!source.nextLine(line)) {
            return false;
        }
        notePiece(lineNumber);
        report.linesRead = lineNumber;
        return true;
    }

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

// Zero bytes in most of the lines read (a UTF-16 file has one in its first line and stops
// there), or lines whose coordinates are mostly no numbers: whatever this is, it is no point
// export, however "successfully" it converts. One zero byte in an otherwise good file is not
// enough: its own warning names it.
[[nodiscard]] bool looksLikeNoText(const ReadingReport &report) {
    const std::uint64_t zeroLines =
        report.zeroBytes.count + (report.stop == StopReason::ZeroByte ? 1U : 0U);
    const std::uint64_t junk = report.withoutCoordinates.count + report.leftOut.count;
    return 2 * zeroLines > report.linesRead ||
           (report.piecesTaken != 0 && 2 * junk > report.piecesTaken);
}

// The code page the readers of CASS and Kaisi files expect, GBK (they run on Chinese Windows),
// and a DXF's when no --dxf-codepage names another.
constexpr int kDefaultTextCodePage = 936;

// The first bytes of the source, for finding its layout; empty when it cannot be read (opening
// it for the conversion then says why).
[[nodiscard]] std::string headOf(const std::string &path) {
    std::string head(kDetectionBytes, '\0');
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    return head;
}

[[nodiscard]] ReadingPlan planOf(const ConversionRequest &request) {
    const SourceReading &reading = request.options.sourceReading;
    return planReading(reading, needsHead(reading) ? headOf(request.sourcePath) : std::string());
}

// What every reading loop hands its points to.
struct PointSink {
    RecordWriter *writer; // the old formats'; null when layer writes
    LayerFeed *layer;     // the GIS formats'
    const ConversionOptions &options;
    SummaryCollector *collector;
    RecordRecoder *texts = nullptr; // a UTF-8 source's names and codes into the output's page
    GridCheck grid;

    // Writes one point taken from a line unless the options leave it out, and counts what the
    // user must hear of it. kSummary false: the caller knows there is no collector; kRecodes
    // false: no recoder; the loop that calls it then stays free of their inlined work.
    template <bool kSummary = true, bool kRecodes = true>
    void take(const PointRecord &record, bool allNumbers, bool noNumber, std::uint64_t lineNumber,
              ReadingResult &result) {
        if (options.leaveOutLinesWithoutCoordinates && noNumber) {
            result.report.leftOut.note(lineNumber);
            return;
        }
        if (layer != nullptr) {
            takeIntoLayer(record, allNumbers, lineNumber, result);
            return;
        }
        writer->write(kRecodes && texts != nullptr ? recoded(record, lineNumber, result) : record);
        if (!allNumbers) {
            result.report.withoutCoordinates.note(lineNumber);
        }
        counted<kSummary>(record, result);
    }

    // A GIS layer places every point it holds: one without coordinates is left out, not put
    // at 0, 0.
    void takeIntoLayer(const PointRecord &record, bool allNumbers, std::uint64_t lineNumber,
                       ReadingResult &result) {
        if (!allNumbers) {
            result.report.leftOut.note(lineNumber);
        } else if (layer->take(record, allNumbers, lineNumber)) {
            if (layer->lostCharacters()) {
                result.report.unrepresentable.note(lineNumber);
            }
            if (layer->shortenedText()) {
                result.report.shortenedTexts.note(lineNumber);
            }
            counted(record, result);
        }
    }

    template <bool kSummary = true> void counted(const PointRecord &record, ReadingResult &result) {
        ++result.pointsWritten;
        grid.addPoint(record);
        if (kSummary && collector != nullptr) {
            collector->addPoint(record);
        }
    }

    // The record with its name and code in the output's code page, a character that page cannot
    // hold noted. The summary keeps the source's text, which it is decoded from.
    [[nodiscard]] const PointRecord &recoded(const PointRecord &record, std::uint64_t lineNumber,
                                             ReadingResult &result) {
        const PointRecord &inOutputPage = texts->recode(record);
        if (texts->lostCharacters()) {
            result.report.unrepresentable.note(lineNumber);
        }
        return inOutputPage;
    }
};

// Reads line by line, stopping at the end of the file or at a line shorter than ten bytes, and
// writes the record once for every line taken, unless the options leave that line out. Made
// with and without the summary and the recoding, so that the plain loop pays nothing for them.
template <bool kSummary, bool kRecodes>
[[nodiscard]] ReadingResult convertLines(SourceStream &source, PointSink &sink) {
    ReadingResult result;
    ReadingReport &report = result.report;
    LineCutter cutter;
    SourceLine line;
    std::uint64_t lineNumber = 0;
    while (result.nextPiece(source, line, lineNumber)) {
        if (line.measuredLength() < kMinimumLineLength) {
            noteEarlyStop(source, line, lineNumber, report);
            break;
        }
        ++report.piecesTaken;
        if (line.zeroByte) {
            report.zeroBytes.note(lineNumber);
        }
        cutter.apply(line);
        if (cutter.carriesEarlierValues()) {
            report.carriedOver.note(lineNumber);
        }
        sink.take<kSummary, kRecodes>(cutter.record(), cutter.holdsAllCoordinates(),
                                      cutter.holdsNoCoordinate(), lineNumber, result);
    }
    noteEndOfFileByte(source, report);
    return result;
}

// The old tool's reading, made for what the sink has to do besides writing.
[[nodiscard]] ReadingResult convertLines(SourceStream &source, PointSink &sink) {
    if (sink.texts != nullptr) {
        return sink.collector != nullptr ? convertLines<true, true>(source, sink)
                                         : convertLines<false, true>(source, sink);
    }
    return sink.collector != nullptr ? convertLines<true, false>(source, sink)
                                     : convertLines<false, false>(source, sink);
}

// Reads the lines of a layout: blank lines are skipped and no line ends the reading early, since
// the short-line rule is the old tool's alone; a header row is not a point, nor a byte-order mark
// part of the first line.
[[nodiscard]] ReadingResult convertByLayout(SourceStream &source, PointSink &sink,
                                            const SourceLayout &layout) {
    ReadingResult result;
    ReadingReport &report = result.report;
    LayoutCutter cutter(layout);
    SourceLine line;
    bool header = layout.headerRow;
    std::uint64_t lineNumber = 0;
    while (result.nextPiece(source, line, lineNumber)) {
        std::string_view text = line.text;
        if (lineNumber == 1 && text.starts_with(kByteOrderMark)) {
            text.remove_prefix(kByteOrderMark.size());
        }
        if (isBlank(text) && !line.zeroByte) {
            continue;
        }
        if (std::exchange(header, false)) {
            continue;
        }
        ++report.piecesTaken;
        if (line.zeroByte) {
            report.zeroBytes.note(lineNumber);
        }
        cutter.apply(text);
        sink.take(cutter.record(), cutter.holdsAllCoordinates(), cutter.holdsNoCoordinate(),
                  lineNumber, result);
    }
    return result;
}

// The source was read whole and as it was; otherwise why not.
[[nodiscard]] std::optional<ConversionOutcome> checkSourceRead(const SourceStream &source,
                                                               const ConversionRequest &request,
                                                               const std::string &outputName) {
    if (source.cancelled()) {
        return outcome(Kind::Cancelled, request, outputName);
    }
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

// The code page the names and codes of a format's output are read in.
[[nodiscard]] int textCodePage(const ConversionRequest &request) {
    return *request.format == TargetFormat::Cad
               ? request.options.dxfCodePage.value_or(kDefaultTextCodePage)
               : kDefaultTextCodePage;
}

// The reading loop the plan asks for, with what it found at the end.
[[nodiscard]] ReadingResult readAll(SourceStream &source, PointSink &sink, const ReadingPlan &plan,
                                    const ConversionRequest &request) {
    std::optional<RecordRecoder> recoder;
    // The GIS formats take UTF-8 as it is; the old ones the code page their readers expect.
    if (plan.encoding == SourceEncoding::Utf8 && sink.layer == nullptr) {
        recoder.emplace(textCodePage(request));
    }
    sink.texts = recoder && recoder->usable() ? &*recoder : nullptr;
    ReadingResult result =
        plan.layout ? convertByLayout(source, sink, *plan.layout) : convertLines(source, sink);
    result.report.axesSwapped = sink.grid.axesSwapped();
    result.report.heightLikeCoordinate = sink.grid.heightLikeCoordinate();
    result.report.notText = looksLikeNoText(result.report);
    return result;
}

// A converted output with what the reading found; folderToSync when its folder is the caller's
// to flush.
[[nodiscard]] ConversionOutcome converted(const ConversionRequest &request,
                                          const std::string &outputName, const ReadingPlan &plan,
                                          const ReadingResult &reading,
                                          const SummaryCollector *collector, std::string outputPath,
                                          std::optional<std::string> folderToSync) {
    ConversionOutcome result = outcome(Kind::Converted, request, outputName);
    result.outputPath = std::move(outputPath);
    result.layout = plan.layout;
    result.oldLayoutFound = plan.oldLayoutFound;
    result.encoding = plan.encoding;
    result.folderToSync = std::move(folderToSync);
    result.pointsWritten = reading.pointsWritten;
    result.reading = reading.report;
    if (collector != nullptr) {
        result.summary = collector->summary(reading.report.linesRead, reading.report.piecesTaken);
    }
    return result;
}

// Writes every record into the output's temporary file and puts it in place.
[[nodiscard]] ConversionOutcome writeOutput(SourceStream &source, OutputFile &output,
                                            const ConversionRequest &request,
                                            const std::string &outputName,
                                            const ReadingPlan &plan) {
    OutputStream out(output.file());
    RecordWriter writer(out, *request.format, request.options);
    std::optional<SummaryCollector> collector;
    if (request.options.summary) {
        collector.emplace();
    }
    PointSink sink{&writer, nullptr, request.options, collector ? &*collector : nullptr,
                   nullptr, {}};
    writer.begin();
    const ReadingResult reading = readAll(source, sink, plan, request);
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
    return converted(
        request, outputName, plan, reading, collector ? &*collector : nullptr, output.finalPath(),
        sync == FolderSync::Later ? std::optional(output.folderToSync()) : std::nullopt);
}

// The grid a GIS run writes in: the one asked for, the one the first point names, or none.
struct GridPlan {
    std::optional<GridCrs> grid;
    std::optional<ConversionOutcome::Kind> refusal;
    std::uint64_t line = 0;
};

[[nodiscard]] GridPlan planGrid(const ConversionRequest &request, const ReadingPlan &plan) {
    const std::optional<CrsChoice> &choice = request.options.crs;
    if (!choice) {
        if (needsGeographicCoordinates(*request.format)) {
            return {std::nullopt, Kind::CrsNeeded, 0};
        }
        return {};
    }
    if (choice->mode == CrsChoice::Mode::Epsg) {
        return {gridOfEpsg(choice->epsg), std::nullopt, 0};
    }
    const GridDetection found = detectGrid(headOf(request.sourcePath), plan.layout);
    if (!found.grid) {
        return {std::nullopt, Kind::CrsUndecided, found.line};
    }
    return {found.grid, std::nullopt, found.line};
}

// Whether the names and codes of the source are UTF-8: as the user or the layout's detection
// said, or else when the first bytes are UTF-8 with at least one character beyond ASCII (GBK
// text almost never is); GB18030, which holds GBK, otherwise.
[[nodiscard]] bool readsUtf8(const ConversionRequest &request, const ReadingPlan &plan) {
    if (request.options.sourceReading.encoding || needsHead(request.options.sourceReading)) {
        return plan.encoding == SourceEncoding::Utf8;
    }
    std::string head = headOf(request.sourcePath);
    head.resize(head.rfind('\n') == std::string::npos ? head.size() : head.rfind('\n'));
    const bool ascii = std::all_of(head.begin(), head.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && isValidUtf8(head);
}

// The source's stem as the layer's name, decoded as its texts are.
[[nodiscard]] std::string layerNameOf(const ConversionRequest &request, bool utf8) {
    const std::string name = makeOutputFileName(request.sourceFileName, TargetFormat::GeoJson);
    const std::string_view stem(name.data(), name.size() - std::string_view(".geojson").size());
    return decodeText(stem, utf8 ? TextEncoding::Utf8 : TextEncoding::Gb18030).utf8;
}

// Reads every point into a GIS layer writer and puts its files in place.
[[nodiscard]] ConversionOutcome writeLayer(SourceStream &source, PointLayerWriter &writer,
                                           const ConversionRequest &request,
                                           const std::string &outputName, const ReadingPlan &plan,
                                           const GridPlan &grid, bool utf8) {
    std::optional<SummaryCollector> collector;
    if (request.options.summary) {
        collector.emplace();
    }
    LayerFeed feed(writer, grid.grid, utf8);
    PointSink sink{nullptr, &feed, request.options, collector ? &*collector : nullptr, nullptr, {}};
    const ReadingResult reading = readAll(source, sink, plan, request);
    if (std::optional<ConversionOutcome> refused = checkSourceRead(source, request, outputName)) {
        return std::move(*refused);
    }
    if (feed.failure() != CrsFailure::None) {
        ConversionOutcome outside = outcome(Kind::OutsideCrs, request, outputName);
        outside.crs = grid.grid;
        outside.gisFormat = true;
        outside.crsLine = feed.failedLine();
        return outside;
    }
    const FolderSync sync = request.folderSyncLater ? FolderSync::Later : FolderSync::Now;
    if (!writer.finish(sync)) {
        return failed(writer.failedCommitting() ? Kind::OutputCreateFailed
                                                : Kind::OutputWriteFailed,
                      request, outputName, writer.failure());
    }
    ConversionOutcome result = converted(
        request, outputName, plan, reading, collector ? &*collector : nullptr, writer.outputPath(),
        sync == FolderSync::Later ? std::optional(writer.folderToSync()) : std::nullopt);
    result.crs = grid.grid;
    result.gisFormat = true;
    return result;
}

// The GIS formats' way from an open source to the output: the grid, then the writer.
[[nodiscard]] ConversionOutcome convertToLayer(SourceStream &source,
                                               const ConversionRequest &request,
                                               const std::string &outputName,
                                               const ReadingPlan &plan) {
    const PointLayerWriters *writers = pointLayerWriters();
    if (writers == nullptr) {
        ConversionOutcome unavailable = outcome(Kind::GisUnavailable, request, outputName);
        unavailable.gisFormat = true;
        return unavailable;
    }
    const GridPlan grid = planGrid(request, plan);
    if (grid.refusal) {
        ConversionOutcome refused = outcome(*grid.refusal, request, outputName);
        refused.gisFormat = true;
        refused.crsLine = grid.line;
        return refused;
    }
    const bool utf8 = readsUtf8(request, plan);
    LayerRequest layer{*request.format, request.outputFolder, outputName,
                       layerNameOf(request, utf8), grid.grid};
    std::unique_ptr<PointLayerWriter> writer = writers->writerFor(layer);
    if (!writer) {
        return outcome(Kind::GisUnavailable, request, outputName);
    }
    if (isSameFile(request.sourcePath, writer->outputPath())) {
        ConversionOutcome refused = outcome(Kind::OutputIsSource, request, outputName);
        refused.conflictingSource = request.sourcePath;
        return refused;
    }
    if (!writer->create()) {
        return failed(Kind::OutputCreateFailed, request, outputName, writer->failure());
    }
    return writeLayer(source, *writer, request, outputName, plan, grid, utf8);
}

[[nodiscard]] ConversionOutcome convertFile(const ConversionRequest &request,
                                            const std::string &outputName) {
    SourceStream source(request.sourcePath);
    if (!source.isOpen()) {
        return failed(Kind::SourceOpenFailed, request, outputName, source.openFailure());
    }
    const ReadingPlan plan = planOf(request);
    if (plan.failure != DetectionFailure::None) {
        ConversionOutcome undecided = outcome(Kind::LayoutUndecided, request, outputName);
        undecided.layoutFailure = plan.failure;
        undecided.encoding = plan.encoding;
        return undecided;
    }
    source.watchBy(request.progress);
    if (isGisFormat(*request.format)) {
        return convertToLayer(source, request, outputName, plan);
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
    return writeOutput(source, output, request, outputName, plan);
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
