#pragma once

#include "conversion_run.h"

#include <string>

namespace velkaro::cli {

// The human-readable summary of a converted outcome that carries one: a line about the lines,
// then one line per code, each indented by two spaces and ended by a line feed.
[[nodiscard]] std::string summaryText(const ConversionOutcome &outcome);

// One conversion as one JSON object on one line (ended by a line feed), converted or not: the
// source, the format (cass, kaisi or cad), the status and the outcome's identifier ("kind"); for
// a failure its sentence, the other source it conflicts with and the failed file with the
// reason's identifier and the system's error; for a converted outcome the output, the line
// counts, each warning with its identifier and sentence and, when it carries one, the summary per
// code.
[[nodiscard]] std::string jsonReport(const std::string &source, TargetFormat format,
                                     const ConversionOutcome &outcome);

} // namespace velkaro::cli
