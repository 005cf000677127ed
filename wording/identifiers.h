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

// velkaro-convert's own: a warning about an option that none of the chosen formats uses, and a
// command line it cannot run (exit status 2).
inline constexpr std::string_view kUnusedOptionId = "unused-option";
inline constexpr std::string_view kUsageErrorId = "usage-error";

} // namespace velkaro::wording
