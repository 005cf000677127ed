#pragma once

#include "conversion_run.h"
#include "message.h"

#include <string_view>
#include <vector>

namespace velkaro::dialog {

// The box that shows one conversion's outcome: the core's message (its file name decoded for
// display), the title and the icon of its kind. A conversion is followed by the number of
// points written and, with the warning icon, by what it left out: the lines after an early stop
// and the lines taken without coordinates.
[[nodiscard]] Message outcomeMessage(const ConversionOutcome &outcome, const NameDecoder &decode);

// One source of several converted at once, and what became of it.
struct BatchResult {
    std::string sourceName; // as the core took it
    ConversionOutcome outcome;
};

// The one box that closes a conversion of several files: a line for each output with its
// point count and warnings, a line for each failure with its message.
[[nodiscard]] Message batchSummaryMessage(const std::vector<BatchResult> &results,
                                          const NameDecoder &decode);

// F1 when no help viewer could open the help file.
[[nodiscard]] Message helpFailedMessage();

} // namespace velkaro::dialog
