#pragma once

#include "conversion_outcome.h"

#include <string_view>

namespace velkaro::wording {

// Stable identifiers of outcomes, warnings and reasons, beside the words in machine-readable
// output, so that scripts never parse a sentence. Lower-case ASCII with hyphens; once published
// an identifier never changes.
[[nodiscard]] std::string_view outcomeId(ConversionOutcome::Kind kind);
[[nodiscard]] std::string_view warningId(WarningKind kind);
[[nodiscard]] std::string_view reasonId(FailureReason reason);

} // namespace velkaro::wording
