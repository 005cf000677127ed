#pragma once

#include "conversion_outcome.h"
#include "message.h"
#include "question_text.h"

#include <vector>

namespace velkaro::dialog {

// How many line numbers a box names before it says "等"; the converter names more, but a
// message box has less room.
inline constexpr std::size_t kLineNumbersShown = 5;

// The box that shows one conversion's outcome: the wording's text, the title and the icon of its
// kind. A conversion is followed by the number of points written and its warnings, which give
// the box the warning icon.
[[nodiscard]] Message outcomeMessage(const ConversionOutcome &outcome, const NameDecoder &decode);

using wording::BatchResult;

// F1 when no help viewer could open the help file.
[[nodiscard]] Message helpFailedMessage();

} // namespace velkaro::dialog
