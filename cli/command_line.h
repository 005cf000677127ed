#pragma once

#include "conversion_options.h"
#include "target_format.h"
#include "text_decoding.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro::cli {

// A warning about the command line itself: an option that none of the chosen formats uses.
struct OptionWarning {
    std::string option; // as spelt on the command line: "--labels"
    std::string text;   // one line without a line break, starting "警告: "
};

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
    // Warnings about the command line itself, in the order they are printed.
    std::vector<OptionWarning> warnings;
};

// The parsed command line, or the reason it is unusable (a usage error, exit status 2).
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
    // --json was among the options, also when they are unusable: the error is then told on
    // standard output as JSON too.
    bool json = false;
};

// GNU-style: short options (-f cass, -fcass), long ones (--format cass, --format=cass), sources
// anywhere among them, and "--" ending the options.
[[nodiscard]] ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments);

// The formats a FORMAT argument stands for: cass, kaisi, cad (any case), all, or one of the
// window's list texts exactly. Empty when the argument names no format.
[[nodiscard]] std::vector<TargetFormat> formatsFor(const std::string &argument);

[[nodiscard]] const char *usageText();

} // namespace velkaro::cli
