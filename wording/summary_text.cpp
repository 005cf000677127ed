#include "summary_text.h"

#include "outcome_text.h"

namespace velkaro::wording {

std::string linesReadText(std::uint64_t linesRead, std::uint64_t linesTaken) {
    return "行: 读取 " + std::to_string(linesRead) + ", 取用 " + std::to_string(linesTaken);
}

std::string readingEndText(const ReadingReport &reading) {
    const std::string leftOut = "略去 " + std::to_string(reading.leftOut.count) + ", ";
    if (reading.stoppedAtLine == 0) {
        return leftOut + "读到文件末尾";
    }
    return leftOut + "在第 " + std::to_string(reading.stoppedAtLine) + " 行停止, 其后 " +
           std::to_string(reading.linesNotConverted) + " 行没有转换";
}

std::string_view codeLabelLead() {
    return "编码 ";
}

std::string codeLabelText(std::string_view shownCode) {
    return std::string(codeLabelLead()) + std::string(shownCode);
}

std::string otherCodesText(std::size_t codesListed) {
    return "其余编码 (前 " + std::to_string(codesListed) + " 个编码之后)";
}

std::string codePointsText(std::string_view label, std::uint64_t points) {
    char after[kMaxPointsAfterLabelLength];
    return std::string(label) + std::string(after, putPointsAfterLabel(after, points));
}

char *putPointsAfterLabel(char *out, std::uint64_t points) {
    *out++ = ':';
    *out++ = ' ';
    return putPointsText(out, points);
}

std::string_view noNumbersText() {
    return "无数值";
}

} // namespace velkaro::wording
