#pragma once

#include "conversion_outcome.h"

#include <cstddef>
#include <string>

namespace velkaro::wording {

// One warning about a converted outcome as one line, starting "警告: ", without a line break.
// Lists of lines name at most linesNamed line numbers, then say "等" (a message box has room
// for fewer than a terminal).
[[nodiscard]] std::string warningText(WarningKind kind, const ConversionOutcome &outcome,
                                      std::size_t linesNamed);

} // namespace velkaro::wording
