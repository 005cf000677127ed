#pragma once

#include "conversion_run.h"

#include <string>

namespace velkaro::cli {

// The human-readable summary of a converted outcome that carries one: a line about the lines,
// then one line per code, each indented by two spaces and ended by a line feed.
[[nodiscard]] std::string summaryText(const ConversionOutcome &outcome);

// One conversion as one JSON object on one line (ended by a line feed), converted or not: the
// source, the format (cass, kaisi or cad), the status, and for a converted outcome the output,
// the line counts and, when it carries one, the summary per code.
[[nodiscard]] std::string jsonReport(const std::string &source, const std::string &formatItemText,
                                     const ConversionOutcome &outcome);

} // namespace velkaro::cli
