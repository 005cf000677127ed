#include "summary_report.h"

#include "format_names.h"
#include "identifiers.h"
#include "json_text.h"
#include "number_rules.h"
#include "outcome_text.h"
#include "printable_text.h"
#include "summary_text.h"
#include "system_error_text.h"
#include "warning_text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace velkaro::cli {
namespace {

// The longest tail a code's line may have after its label: the points, three axes, each ", x "
// and two numbers around " ~ ", and the line feed.
constexpr std::size_t kMaxTailLength =
    wording::kMaxPointsAfterLabelLength + 3 * (4 + 2 * kMaxFixed6Length + 3) + 1;

[[nodiscard]] char *putText(char *out, std::string_view text) {
    return std::copy(text.begin(), text.end(), out);
}

// printFixed6 of an end, from the millionths it stands for when the summary kept them.
[[nodiscard]] char *printEnd(char *out, double end, std::uint64_t millionths) {
    if (millionths == ValueExtent::kNoMillionths) {
        return printFixed6(out, end);
    }
    return printMillionthsFixed6(out, millionths, std::signbit(end));
}

// Writes ", x min ~ max" for the axis, or that it held no number.
[[nodiscard]] char *putExtent(char *out, char axis, const ValueExtent &extent) {
    const char head[] = {',', ' ', axis, ' '};
    out = std::copy_n(head, sizeof head, out);
    if (extent.numbers == 0) {
        return putText(out, wording::noNumbersText());
    }
    char *const min = out;
    out = printEnd(out, extent.min, extent.minMillionths);
    const auto minLength = static_cast<std::size_t>(out - min);
    out = std::copy_n(" ~ ", 3, out);
    // A code of one point, and there are many, has one end twice: printed once, copied once.
    if (extent.maxMillionths == extent.minMillionths &&
        std::bit_cast<std::uint64_t>(extent.max) == std::bit_cast<std::uint64_t>(extent.min)) {
        return std::copy_n(min, minLength, out);
    }
    return printEnd(out, extent.max, extent.maxMillionths);
}

// Writes ": N 点, x ..., y ..., z ...\n", what follows a code's label on its line, at most
// kMaxTailLength bytes.
[[nodiscard]] char *putPointsAndExtents(char *out, const CodeSummary &code) {
    out = wording::putPointsAfterLabel(out, code.points);
    out = putExtent(out, 'x', code.x);
    out = putExtent(out, 'y', code.y);
    out = putExtent(out, 'z', code.z);
    *out++ = '\n';
    return out;
}

// The report's lines, put together in one buffer and written out a chunk at a time: ten
// thousand code lines are a megabyte, which need neither stand whole in memory nor be copied as
// a string grows.
class ReportBuffer {
  public:
    explicit ReportBuffer(std::FILE *out) : m_out(out), m_bytes(kChunk) {}

    // Where up to size more bytes go; written after the bytes before them by done.
    [[nodiscard]] char *room(std::size_t size) {
        if (m_used + size > m_bytes.size()) {
            flush();
            m_bytes.resize(std::max(size, kChunk));
        }
        return m_bytes.data() + m_used;
    }
    void done(const char *end) { m_used = static_cast<std::size_t>(end - m_bytes.data()); }
    void put(std::string_view text) { done(putText(room(text.size()), text)); }
    void flush() {
        std::fwrite(m_bytes.data(), 1, m_used, m_out);
        m_used = 0;
    }

  private:
    static constexpr std::size_t kChunk = 16384;

    std::FILE *m_out;
    std::vector<char> m_bytes;
    std::size_t m_used = 0;
};

[[nodiscard]] std::string jsonExtent(const ValueExtent &extent) {
    if (extent.numbers == 0) {
        return "null";
    }
    return "{\"min\":" + jsonNumber(extent.min) + ",\"max\":" + jsonNumber(extent.max) + "}";
}

[[nodiscard]] std::string pathMember(std::string_view key, const std::string &path) {
    return jsonTextMember(key, path, TextEncoding::Utf8);
}

[[nodiscard]] std::string quoted(std::string_view id) {
    return "\"" + std::string(id) + "\"";
}

[[nodiscard]] std::string jsonLines(const std::vector<std::uint64_t> &lines) {
    std::string text = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(lines[i]);
    }
    return text + "]";
}

[[nodiscard]] std::string jsonExtents(const CodeSummary &code) {
    return ",\"points\":" + std::to_string(code.points) + ",\"x\":" + jsonExtent(code.x) +
           ",\"y\":" + jsonExtent(code.y) + ",\"z\":" + jsonExtent(code.z) + "}";
}

// The encoding the codes are decoded from: the user's choice, or UTF-8 when every code is valid
// UTF-8 (plain ASCII included), GB18030 otherwise.
[[nodiscard]] TextEncoding encodingOf(const ConversionSummary &summary,
                                      std::optional<TextEncoding> chosen) {
    if (chosen) {
        return *chosen;
    }
    const bool utf8 = std::all_of(summary.codes.begin(), summary.codes.end(),
                                  [](const CodeSummary &code) { return isValidUtf8(code.code); });
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Gb18030;
}

// The codes one by one, straight to out, so that the report never stands whole in memory.
void writeJsonCodes(std::FILE *out, const ConversionSummary &summary, TextEncoding encoding) {
    std::fputs(",\"encoding\":", out);
    std::fputs(quoted(encodingName(encoding)).c_str(), out);
    std::fputs(",\"codes\":[", out);
    bool first = true;
    for (const CodeSummary &code : summary.codes) {
        const std::string entry =
            (first ? "{" : ",{") + jsonTextMember("code", code.code, encoding) + jsonExtents(code);
        std::fputs(entry.c_str(), out);
        first = false;
    }
    const std::string others = summary.otherCodes.points == 0
                                   ? std::string("null")
                                   : "{\"codesListed\":" + std::to_string(summary.codes.size()) +
                                         jsonExtents(summary.otherCodes);
    std::fputs(("],\"otherCodes\":" + others).c_str(), out);
}

[[nodiscard]] std::string jsonCounts(const ConversionOutcome &outcome) {
    const ReadingReport &reading = outcome.reading;
    std::string text = ",\"points\":" + std::to_string(outcome.pointsWritten);
    if (outcome.summary) {
        text += ",\"linesRead\":" + std::to_string(outcome.summary->linesRead) +
                ",\"linesTaken\":" + std::to_string(outcome.summary->linesTaken);
    }
    return text + ",\"linesLeftOut\":" + std::to_string(reading.leftOut.count) +
           ",\"firstLinesLeftOut\":" + jsonLines(reading.leftOut.first) + ",\"stoppedAtLine\":" +
           (reading.stoppedAtLine == 0 ? "null" : std::to_string(reading.stoppedAtLine)) +
           ",\"linesNotConverted\":" + std::to_string(reading.linesNotConverted) +
           ",\"linesWithoutCoordinates\":" + std::to_string(reading.withoutCoordinates.count) +
           ",\"firstLinesWithoutCoordinates\":" + jsonLines(reading.withoutCoordinates.first);
}

[[nodiscard]] std::string identity(std::string_view name) {
    return std::string(name);
}

// The warnings about the command line, then for a converted outcome its own, each with its
// identifier and its sentence (all its line numbers named).
[[nodiscard]] std::string jsonWarnings(const ConversionOutcome &outcome,
                                       const std::vector<OptionWarning> &optionWarnings) {
    std::string text = ",\"warnings\":[";
    const auto add = [&text](std::string_view id, const std::string &members) {
        text += (text.ends_with('[') ? "{\"kind\":" : ",{\"kind\":") + quoted(id) + members + "}";
    };
    for (const OptionWarning &warning : optionWarnings) {
        add(wording::kUnusedOptionId,
            ",\"option\":" + jsonString(warning.option) + ",\"text\":" + jsonString(warning.text));
    }
    if (outcome.kind == ConversionOutcome::Kind::Converted) {
        for (const WarningKind warning : warningsOf(outcome)) {
            add(wording::warningId(warning),
                ",\"text\":" + jsonString(wording::warningText(warning, outcome, LineList::kKept)));
        }
    }
    return text + "]";
}

[[nodiscard]] std::string_view separatorId(FieldSeparator separator) {
    switch (separator) {
    case FieldSeparator::Semicolon:
        return "semicolon";
    case FieldSeparator::Spaces:
        return "spaces";
    case FieldSeparator::CommaOrTab:
        break;
    }
    return "comma-or-tab";
}

// How the source was read, when not the old tool's way by default; "rtk" when auto found it.
[[nodiscard]] std::string jsonLayout(const ConversionOutcome &outcome) {
    if (!outcome.layout && !outcome.oldLayoutFound) {
        return {};
    }
    const std::optional<SourceLayout> &layout = outcome.layout;
    return ",\"layout\":{\"roles\":" + quoted(layout ? rolesText(layout->roles) : "rtk") +
           ",\"separator\":" +
           quoted(separatorId(layout ? layout->separator : FieldSeparator::CommaOrTab)) +
           ",\"header\":" + (layout && layout->headerRow ? "true" : "false") + ",\"encoding\":" +
           (outcome.encoding == velkaro::SourceEncoding::Utf8 ? "\"utf-8\"" : "\"bytes\"") + "}";
}

// The grid of a GIS output: its EPSG code, or null for a local grid; the line a refusal of the
// grid is about.
[[nodiscard]] std::string jsonCrs(const ConversionOutcome &outcome) {
    if (!outcome.gisFormat) {
        return {};
    }
    std::string text =
        ",\"crs\":" + (outcome.crs ? quoted("EPSG:" + std::to_string(outcome.crs->epsg)) : "null");
    if (outcome.crsLine != 0) {
        text += ",\"crsLine\":" + std::to_string(outcome.crsLine);
    }
    return text;
}

// Which file failed, why (an identifier), and the system's own error where it gave one.
[[nodiscard]] std::string jsonFailure(const FileFailure &failure) {
    std::string text = ",\"failure\":{" + pathMember("path", failure.path) +
                       ",\"reason\":" + quoted(wording::reasonId(failure.reason)) + ",\"error\":";
    if (!failure.error) {
        return text + "null}";
    }
    const bool windows = failure.error.domain == SystemError::Domain::Windows;
    return text + "{\"domain\":" + (windows ? "\"windows\"" : "\"posix\"") +
           ",\"code\":" + std::to_string(failure.error.code) +
           ",\"text\":" + jsonString(wording::systemErrorText(failure.error)) + "}}";
}

[[nodiscard]] std::string jsonFailed(const ConversionOutcome &outcome,
                                     const std::vector<OptionWarning> &optionWarnings) {
    std::string text = "\"failed\",\"kind\":" + quoted(wording::outcomeId(outcome.kind)) +
                       ",\"message\":" + jsonString(wording::outcomeText(outcome, identity));
    if (!outcome.conflictingSource.empty()) {
        text += "," + pathMember("conflictingSource", outcome.conflictingSource);
    }
    if (outcome.failure) {
        text += jsonFailure(*outcome.failure);
    }
    return text + jsonCrs(outcome) + jsonWarnings(outcome, optionWarnings) + "}\n";
}

} // namespace

void writeSummaryText(std::FILE *out, const ConversionOutcome &outcome) {
    if (!outcome.summary) {
        return;
    }
    const ConversionSummary &summary = *outcome.summary;
    ReportBuffer report(out);
    if (const std::string layout = wording::layoutText(outcome); !layout.empty()) {
        report.put("  " + layout + "\n");
    }
    report.put("  " + wording::linesReadText(summary.linesRead, summary.linesTaken) + ", " +
               wording::readingEndText(outcome.reading) + "\n");
    const std::string lead = "  " + std::string(wording::codeLabelLead());
    for (const CodeSummary &code : summary.codes) {
        char *line =
            report.room(lead.size() + kMaxPrintableBytes * code.code.size() + kMaxTailLength);
        line = putPrintable(putText(line, lead), code.code);
        report.done(putPointsAndExtents(line, code));
    }
    const CodeSummary &others = summary.otherCodes;
    if (others.points != 0) {
        const std::string label = "  " + wording::otherCodesText(summary.codes.size());
        char *line = report.room(label.size() + kMaxTailLength);
        report.done(putPointsAndExtents(putText(line, label), others));
    }
    report.flush();
}

void writeJsonReport(std::FILE *out, const std::string &source, TargetFormat format,
                     const ConversionOutcome &outcome, const CommandLine &line) {
    std::string text = "{" + pathMember("source", source) +
                       ",\"format\":" + quoted(wording::formatKey(format)) + ",\"status\":";
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        std::fputs((text + jsonFailed(outcome, line.warnings)).c_str(), out);
        return;
    }
    text += "\"converted\",\"kind\":\"converted\"," + pathMember("output", outcome.outputPath) +
            jsonCounts(outcome) + jsonLayout(outcome) + jsonCrs(outcome) +
            jsonWarnings(outcome, line.warnings);
    std::fputs(text.c_str(), out);
    if (outcome.summary) {
        writeJsonCodes(out, *outcome.summary, encodingOf(*outcome.summary, line.sourceEncoding));
    }
    std::fputs("}\n", out);
}

void writeJsonUsageError(std::FILE *out, const std::string &error) {
    const std::string text = "{\"status\":\"failed\",\"kind\":" + quoted(wording::kUsageErrorId) +
                             ",\"message\":" + jsonString(error) + "}\n";
    std::fputs(text.c_str(), out);
}

} // namespace velkaro::cli
