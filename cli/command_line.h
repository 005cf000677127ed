#pragma once

#include "conversion_options.h"
#include "target_format.h"
#include "text_decoding.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro::cli {

// What one call of velkaro-convert asks for.
struct CommandLine {
    enum class Action { Convert, Help, Version };

    Action action = Action::Convert;
    // The formats to convert to, in list order.
    std::vector<TargetFormat> formats;
    std::string outputFolder; // empty: beside each source
    std::vector<std::string> sources;
    // Handed to every conversion; options.summary is set by --summary and by --json.
    ConversionOptions options;
    // Standard output gets one JSON object per conversion instead of the human-readable lines.
    bool json = false;
    // The encoding of the source's codes and names for the JSON; absent: UTF-8 where every code
    // is valid UTF-8, GB18030 otherwise.
    std::optional<TextEncoding> sourceEncoding;
    // Warnings about the command line itself (an option that no chosen format uses), each one
    // line without a line break.
    std::vector<std::string> warnings;
};

// The parsed command line, or the reason it is unusable (a usage error, exit status 2).
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

// GNU-style: short options (-f cass, -fcass), long ones (--format cass, --format=cass), sources
// anywhere among them, and "--" ending the options.
[[nodiscard]] ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments);

// The formats a FORMAT argument stands for: cass, kaisi, cad (any case), all, or one of the
// window's list texts exactly. Empty when the argument names no format.
[[nodiscard]] std::vector<TargetFormat> formatsFor(const std::string &argument);

[[nodiscard]] const char *usageText();

} // namespace velkaro::cli
