#include "result_report.h"

#include "file_names.h"
#include "outcome_message.h"
#include "outcome_text.h"
#include "summary_text.h"
#include "warning_text.h"

namespace velkaro::dialog {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

void addSummary(const BatchResult &result, const NameDecoder &decode,
                std::vector<std::string> &lines) {
    const std::optional<ConversionSummary> &summary = result.outcome.summary;
    if (result.outcome.kind != Kind::Converted || !summary) {
        return;
    }
    lines.push_back(decode(result.sourceName) + ":");
    lines.push_back("  " + wording::linesReadText(summary->linesRead, summary->linesTaken));
    for (const CodeSummary &code : summary->codes) {
        lines.push_back(
            "  " + wording::codePointsText(wording::codeLabelText(decode(code.code)), code.points));
    }
}

[[nodiscard]] ResultRow rowOf(const BatchResult &result, const NameDecoder &decode) {
    const ConversionOutcome &outcome = result.outcome;
    ResultRow row{decode(result.sourceName), {}, {}, {}, RowState::Converted, {}};
    if (outcome.kind != Kind::Converted) {
        row.notes = lines(wording::outcomeText(outcome, decode));
        row.state = RowState::Failed;
        return row;
    }
    row.output = decode(outcome.outputPath);
    row.points = wording::pointsText(outcome.pointsWritten);
    row.crs = wording::crsText(outcome);
    for (const WarningKind warning : warningsOf(outcome)) {
        row.notes.push_back(wording::warningText(warning, outcome, kLineNumbersShown));
    }
    row.state = row.notes.empty() ? RowState::Converted : RowState::Warned;
    return row;
}

// The first output's folder: where the user most likely wants to look.
[[nodiscard]] std::string firstOutputFolder(const std::vector<BatchResult> &results) {
    for (const BatchResult &result : results) {
        if (result.outcome.kind == Kind::Converted) {
            return splitPath(result.outcome.outputPath, kNativePathStyle).folder;
        }
    }
    return {};
}

} // namespace

bool needsResultDialog(const std::vector<BatchResult> &results) {
    if (results.size() != 1) {
        return true;
    }
    const ConversionOutcome &outcome = results.front().outcome;
    return outcome.kind != Kind::Converted || !warningsOf(outcome).empty() ||
           outcome.summary.has_value();
}

ResultReport resultReport(const std::vector<BatchResult> &results, const NameDecoder &decode) {
    ResultReport report;
    std::size_t converted = 0;
    for (const BatchResult &result : results) {
        report.rows.push_back(rowOf(result, decode));
        addSummary(result, decode, report.summary);
        converted += report.rows.back().state != RowState::Failed ? 1U : 0U;
        report.troubled = report.troubled || report.rows.back().state != RowState::Converted;
    }
    report.headline = wording::batchHeadline(converted, results.size() - converted);
    report.folderToOpen = firstOutputFolder(results);
    return report;
}

} // namespace velkaro::dialog
