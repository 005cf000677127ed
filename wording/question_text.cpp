#include "question_text.h"

#include "outcome_text.h"
#include "warning_text.h"

namespace velkaro::wording {

std::string replaceQuestionText(const std::vector<std::string> &existingOutputNames,
                                const NameDecoder &decode) {
    if (existingOutputNames.size() == 1) {
        return "转换文件 " + decode(existingOutputNames.front()) + " 已存在。\n要替换它吗?";
    }
    std::string text = "下列转换文件已存在:";
    for (const std::string &name : existingOutputNames) {
        text += "\n" + decode(name);
    }
    return text + "\n要替换它们吗?";
}

std::string replaceText() {
    return "替换";
}

std::string cancelText() {
    return "取消";
}

std::string batchSummaryText(const std::vector<BatchResult> &results, const NameDecoder &decode,
                             std::size_t linesNamed) {
    std::size_t converted = 0;
    std::string lines;
    for (const BatchResult &result : results) {
        const ConversionOutcome &outcome = result.outcome;
        if (outcome.kind != ConversionOutcome::Kind::Converted) {
            lines += "\n" + decode(result.sourceName) + ": " + outcomeText(outcome, decode);
            continue;
        }
        ++converted;
        lines += "\n" + decode(outcome.outputFileName) + " (" + pointsText(outcome.pointsWritten) +
                 ")";
        for (const WarningKind warning : warningsOf(outcome)) {
            lines += "\n" + warningText(warning, outcome, linesNamed);
        }
    }
    return "\t转换完成: " + std::to_string(converted) + " 个文件成功，" +
           std::to_string(results.size() - converted) + " 个失败。" + lines;
}

} // namespace velkaro::wording
