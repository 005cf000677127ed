#pragma once

#include "command_line.h"
#include "conversion_run.h"

#include <cstdio>
#include <string>

namespace velkaro::cli {

// Writes the human-readable summary of a converted outcome that carries one to out: how the
// source was read when not the old tool's way by default (wording::layoutText), a line about the
// lines, then one line per code, each indented by two spaces and ended by a line feed.
void writeSummaryText(std::FILE *out, const ConversionOutcome &outcome);

// One conversion as one JSON object on one line (ended by a line feed), converted or not, written
// to out piece by piece: the source, the format (cass, kaisi or cad), the status and the
// outcome's identifier ("kind"); for a failure its sentence, the other source it conflicts with
// and the failed file with the reason's identifier and the system's error; for a converted
// outcome the output, the line counts and, when it carries one, the summary: the encoding its
// codes were decoded from (line.sourceEncoding, or when absent UTF-8 if every code is valid UTF-8
// and GB18030 otherwise), each code, and the codes beyond the listed ones together. Every object
// lists the warnings about the command line (each with its identifier, the option and the
// sentence), then a converted outcome's own. Paths are decoded as UTF-8; text that does not
// decode comes with its bytes in hexadecimal beside it ("codeBytes", "sourceBytes", ...).
void writeJsonReport(std::FILE *out, const std::string &source, TargetFormat format,
                     const ConversionOutcome &outcome, const CommandLine &line);

// A command line that cannot run, as one JSON object on one line: its identifier and the
// sentence that says why.
void writeJsonUsageError(std::FILE *out, const std::string &error);

} // namespace velkaro::cli
