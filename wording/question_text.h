#pragma once

#include "conversion_outcome.h"
#include "name_decoder.h"

#include <string>
#include <vector>

namespace velkaro::wording {

// The question asked before existing outputs are replaced; names every one of them.
[[nodiscard]] std::string replaceQuestionText(const std::vector<std::string> &existingOutputNames,
                                              const NameDecoder &decode);

// The two answers of that question: the first does what it asks.
[[nodiscard]] std::string replaceText();
[[nodiscard]] std::string cancelText();

// One source of several converted at once, and what became of it.
struct BatchResult {
    std::string sourceName; // as the core took it
    ConversionOutcome outcome;
};

// The text that closes a conversion of several files: a headline with the counts, then a line
// for each output with its point count and warnings, a line for each failure with its reason.
[[nodiscard]] std::string batchSummaryText(const std::vector<BatchResult> &results,
                                           const NameDecoder &decode, std::size_t linesNamed);

} // namespace velkaro::wording
