#pragma once

#include "outcome_text.h"
#include "reading_report.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro::wording {

// The summary's line about the lines: "行: 读取 41, 取用 40". velkaro-convert goes on with how
// the reading ended (readingEndText).
[[nodiscard]] std::string linesReadText(std::uint64_t linesRead, std::uint64_t linesTaken);

// The lines left out and how the reading ended: "略去 1, 读到文件末尾", or when it stopped early
// "略去 0, 在第 6 行停止, 其后 35 行没有转换".
[[nodiscard]] std::string readingEndText(const ReadingReport &reading);

// "编码 KZD": a code as the summary names it; the code as the front end shows it.
[[nodiscard]] std::string codeLabelText(std::string_view shownCode);
// What codeLabelText puts before the code: for a front end that appends the code itself.
[[nodiscard]] std::string_view codeLabelLead();

// The label of the summary line that counts the codes after the listed ones together:
// "其余编码 (前 10000 个编码之后)".
[[nodiscard]] std::string otherCodesText(std::size_t codesListed);

// A code's line of the summary: its label (codeLabelText or otherCodesText) and its points,
// "编码 KZD: 12 点". velkaro-convert follows it with the ranges of x, y and z.
[[nodiscard]] std::string codePointsText(std::string_view label, std::uint64_t points);
// What codePointsText puts after the label, written at out, which has room for
// kMaxPointsAfterLabelLength bytes; returns its end. A report of ten thousand codes is built
// without a string per line.
inline constexpr std::size_t kMaxPointsAfterLabelLength = 2 + kMaxPointsTextLength;
[[nodiscard]] char *putPointsAfterLabel(char *out, std::uint64_t points);

// A range of the summary that holds no number.
[[nodiscard]] std::string_view noNumbersText();

} // namespace velkaro::wording
