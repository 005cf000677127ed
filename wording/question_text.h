#pragma once

#include "conversion_outcome.h"
#include "name_decoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velkaro::wording {

// An output that is already there, as the question before replacing it names it.
struct ExistingName {
    std::string name;                 // the bare name, as the core takes it
    std::int64_t modifiedSeconds = 0; // since 1970-01-01 UTC
};

// The question asked before existing outputs are replaced: each with the local date and time it
// was last changed, so that another day's file of the same name stands out; for many files the
// first ten, then how many more.
[[nodiscard]] std::string replaceQuestionText(const std::vector<ExistingName> &existing,
                                              const NameDecoder &decode);

// "2024-05-12 17:03", in the local time zone.
[[nodiscard]] std::string localTimeText(std::int64_t secondsSinceEpoch);

// The two answers of that question: the first does what it asks.
[[nodiscard]] std::string replaceText();
[[nodiscard]] std::string cancelText();

// One source of several converted at once, and what became of it.
struct BatchResult {
    std::string sourceName; // as the core took it
    ConversionOutcome outcome;
};

// "转换完成: 2 个文件成功，1 个失败。"
[[nodiscard]] std::string batchHeadline(std::size_t converted, std::size_t failed);

// "保存在: <folder>": where a conversion's output went.
[[nodiscard]] std::string savedInText(const std::string &folder, const NameDecoder &decode);

} // namespace velkaro::wording
