#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkaro::cli {

// What one call of velkaro-convert asks for.
struct CommandLine {
    enum class Action { Convert, Help, Version };

    Action action = Action::Convert;
    // The format list texts to convert to, in list order; runConversion maps them.
    std::vector<std::string> formatItemTexts;
    std::string outputFolder; // empty: beside each source
    std::vector<std::string> sources;
};

// The parsed command line, or the reason it is unusable (a usage error, exit status 2).
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

[[nodiscard]] ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments);

// The list texts a FORMAT argument stands for: cass, kaisi, cad (any case), all, or one of the
// list texts exactly. Empty when the argument names no format.
[[nodiscard]] std::vector<std::string> formatItemTextsFor(const std::string &argument);

[[nodiscard]] const char *usageText();

} // namespace velkaro::cli
