#include "summary_report.h"

#include "json_text.h"
#include "number_rules.h"
#include "printable_text.h"

#include <vector>

namespace velkaro::cli {
namespace {

[[nodiscard]] std::string extentText(const char *axis, const ValueExtent &extent) {
    std::string text = std::string(", ") + axis + " ";
    if (extent.numbers == 0) {
        return text + "无数值";
    }
    return text + formatFixed6(extent.min) + " ~ " + formatFixed6(extent.max);
}

[[nodiscard]] std::string stopText(const ConversionOutcome &outcome) {
    if (outcome.stoppedAtLine == 0) {
        return "读到文件末尾";
    }
    return "在第 " + std::to_string(outcome.stoppedAtLine) + " 行停止, 其后 " +
           std::to_string(outcome.linesNotConverted) + " 行没有转换";
}

[[nodiscard]] std::string jsonExtent(const ValueExtent &extent) {
    if (extent.numbers == 0) {
        return "null";
    }
    return "{\"min\":" + jsonNumber(extent.min) + ",\"max\":" + jsonNumber(extent.max) + "}";
}

[[nodiscard]] std::string jsonLines(const std::vector<std::uint64_t> &lines) {
    std::string text = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(lines[i]);
    }
    return text + "]";
}

[[nodiscard]] std::string jsonCodes(const ConversionSummary &summary) {
    std::string text = "[";
    for (const CodeSummary &code : summary.codes) {
        text += text.size() > 1 ? "," : "";
        text += "{\"code\":" + jsonString(code.code) +
                ",\"points\":" + std::to_string(code.points) + ",\"x\":" + jsonExtent(code.x) +
                ",\"y\":" + jsonExtent(code.y) + ",\"z\":" + jsonExtent(code.z) + "}";
    }
    return text + "]";
}

[[nodiscard]] std::string jsonCounts(const ConversionOutcome &outcome) {
    std::string text = ",\"points\":" + std::to_string(outcome.pointsWritten);
    if (outcome.summary) {
        text += ",\"linesRead\":" + std::to_string(outcome.summary->linesRead) +
                ",\"linesTaken\":" + std::to_string(outcome.summary->linesTaken);
    }
    return text + ",\"linesLeftOut\":" + std::to_string(outcome.linesLeftOut) +
           ",\"firstLinesLeftOut\":" + jsonLines(outcome.firstLinesLeftOut) +
           ",\"stoppedAtLine\":" +
           (outcome.stoppedAtLine == 0 ? "null" : std::to_string(outcome.stoppedAtLine)) +
           ",\"linesNotConverted\":" + std::to_string(outcome.linesNotConverted) +
           ",\"linesWithoutCoordinates\":" + std::to_string(outcome.linesWithoutCoordinates) +
           ",\"firstLinesWithoutCoordinates\":" + jsonLines(outcome.firstLinesWithoutCoordinates);
}

[[nodiscard]] std::string formatKey(const std::string &formatItemText) {
    const std::optional<TargetFormat> format = targetFormatFromItemText(formatItemText);
    if (!format) {
        return "null";
    }
    return *format == TargetFormat::Cass    ? "\"cass\""
           : *format == TargetFormat::Kaisi ? "\"kaisi\""
                                            : "\"cad\"";
}

} // namespace

std::string summaryText(const ConversionOutcome &outcome) {
    if (!outcome.summary) {
        return {};
    }
    const ConversionSummary &summary = *outcome.summary;
    std::string text = "  行: 读取 " + std::to_string(summary.linesRead) + ", 取用 " +
                       std::to_string(summary.linesTaken) + ", 略去 " +
                       std::to_string(outcome.linesLeftOut) + ", " + stopText(outcome) + "\n";
    for (const CodeSummary &code : summary.codes) {
        text += "  编码 " + printable(code.code) + ": " + std::to_string(code.points) + " 点" +
                extentText("x", code.x) + extentText("y", code.y) + extentText("z", code.z) + "\n";
    }
    return text;
}

std::string jsonReport(const std::string &source, const std::string &formatItemText,
                       const ConversionOutcome &outcome) {
    std::string text = "{\"source\":" + jsonString(source) +
                       ",\"format\":" + formatKey(formatItemText) + ",\"status\":";
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        return text + "\"failed\",\"message\":" + jsonString(outcome.message) + "}\n";
    }
    text += "\"converted\",\"output\":" + jsonString(outcome.outputPath) + jsonCounts(outcome);
    if (outcome.summary) {
        text += ",\"codes\":" + jsonCodes(*outcome.summary);
    }
    return text + "}\n";
}

} // namespace velkaro::cli
