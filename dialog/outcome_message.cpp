#include "outcome_message.h"

#include "dialog_texts.h"

#include <string>

namespace velkaro::dialog {
namespace {

using Kind = ConversionOutcome::Kind;

// How many line numbers a box names before it says "等"; the converter names ten, but a
// message box has less room.
constexpr std::size_t kLineNumbersShown = 5;

// The core's message as UTF-8. Its own words are UTF-8 and, where a file is named, end at their
// one ASCII colon; everything after it is a name as the core took it, decoded for display.
[[nodiscard]] std::string messageText(const ConversionOutcome &outcome, const NameDecoder &decode) {
    const std::string_view message = outcome.message;
    const std::size_t colon = message.find(':');
    if (colon == std::string_view::npos) {
        return outcome.message;
    }
    return std::string(message.substr(0, colon + 1)) + decode(message.substr(colon + 1));
}

[[nodiscard]] std::string lineList(const std::vector<std::uint64_t> &lines, std::uint64_t total) {
    std::string list;
    for (std::size_t i = 0; i < lines.size() && i < kLineNumbersShown; ++i) {
        list += (i == 0 ? "" : "、") + std::to_string(lines[i]);
    }
    return total > kLineNumbersShown ? list + " 等" : list;
}

[[nodiscard]] bool hasWarnings(const ConversionOutcome &outcome) {
    return outcome.stoppedAtLine != 0 || outcome.linesWithoutCoordinates != 0 ||
           outcome.longLines != 0;
}

// The warning lines of a conversion, each starting with a line break; empty when there is none.
[[nodiscard]] std::string warningLines(const ConversionOutcome &outcome) {
    std::string text;
    if (outcome.stoppedAtLine != 0) {
        text += "\n警告: 第 " + std::to_string(outcome.stoppedAtLine) +
                " 行不足 10 字节，读取在此停止，其后 " + std::to_string(outcome.linesNotConverted) +
                " 行没有转换。";
    }
    if (outcome.linesWithoutCoordinates != 0) {
        text += "\n警告: " + std::to_string(outcome.linesWithoutCoordinates) +
                " 行没有坐标数值 (第 " +
                lineList(outcome.firstLinesWithoutCoordinates, outcome.linesWithoutCoordinates) +
                " 行)，已按原样写入。";
    }
    if (outcome.longLines != 0) {
        text += "\n警告: " + std::to_string(outcome.longLines) + " 行超过 255 字节 (第 " +
                std::to_string(outcome.firstLongLine) + " 行起)，每行被分段当作多个点转换。";
    }
    return text;
}

[[nodiscard]] MessageIcon iconOf(const ConversionOutcome &outcome) {
    switch (outcome.kind) {
    case Kind::NoSource:
    case Kind::SourceOpenFailed:
        return MessageIcon::None;
    case Kind::NoFormat:
        return MessageIcon::Exclamation;
    case Kind::Converted:
        return hasWarnings(outcome) ? MessageIcon::Warning : MessageIcon::None;
    case Kind::OutputCreateFailed:
    case Kind::OutputWriteFailed:
    case Kind::SourceReadFailed:
    case Kind::InvalidOptions:
    case Kind::OutputIsSource:
    case Kind::DuplicateOutput:
    case Kind::SourceChanged:
    case Kind::OutOfMemory:
        break;
    }
    return MessageIcon::Warning;
}

[[nodiscard]] std::string pointsText(std::uint64_t points) {
    return std::to_string(points) + " 点";
}

} // namespace

Message outcomeMessage(const ConversionOutcome &outcome, const NameDecoder &decode) {
    Message message{messageText(outcome, decode), {}, iconOf(outcome)};
    if (outcome.kind == Kind::Converted) {
        message.title = kConvertedTitle;
        message.text += "\n写入 " + pointsText(outcome.pointsWritten) + warningLines(outcome);
    }
    return message;
}

Message batchSummaryMessage(const std::vector<BatchResult> &results, const NameDecoder &decode) {
    std::size_t converted = 0;
    std::string lines;
    bool warned = false;
    for (const BatchResult &result : results) {
        const ConversionOutcome &outcome = result.outcome;
        if (outcome.kind == Kind::Converted) {
            ++converted;
            warned = warned || hasWarnings(outcome);
            lines += "\n" + decode(outcome.outputFileName) + " (" +
                     pointsText(outcome.pointsWritten) + ")" + warningLines(outcome);
        } else {
            lines += "\n" + decode(result.sourceName) + ": " + messageText(outcome, decode);
        }
    }
    const std::size_t failed = results.size() - converted;
    Message message{"\t转换完成: " + std::to_string(converted) + " 个文件成功，" +
                        std::to_string(failed) + " 个失败。" + lines,
                    std::string(kConvertedTitle), MessageIcon::None};
    message.icon = failed != 0 || warned ? MessageIcon::Warning : MessageIcon::None;
    return message;
}

Message helpFailedMessage() {
    return {std::string(kHelpFailedText), {}, MessageIcon::Exclamation};
}

} // namespace velkaro::dialog
