#include "command_line.h"

#include "conversion_run.h"

#include <algorithm>
#include <string_view>

namespace velkaro::cli {
namespace {

[[nodiscard]] std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

// Takes the value of an option given as "-f VALUE", "-fVALUE" or "--format=VALUE".
[[nodiscard]] std::optional<std::string> optionValue(const std::vector<std::string> &arguments,
                                                     std::size_t &i, std::string_view shortName,
                                                     std::string_view longName) {
    const std::string &argument = arguments[i];
    const std::string longPrefix = std::string(longName) + "=";
    if (argument == shortName || argument == longName) {
        if (i + 1 >= arguments.size()) {
            return std::nullopt;
        }
        return arguments[++i];
    }
    if (argument.starts_with(longPrefix)) {
        return argument.substr(longPrefix.size());
    }
    return argument.substr(shortName.size());
}

[[nodiscard]] ParsedCommandLine usageError(std::string error) {
    return ParsedCommandLine{std::nullopt, std::move(error)};
}

} // namespace

std::vector<std::string> formatItemTextsFor(const std::string &argument) {
    const std::string name = lowerAscii(argument);
    if (name == "cass" || argument == kCassItemText) {
        return {std::string(kCassItemText)};
    }
    if (name == "kaisi" || argument == kKaisiItemText) {
        return {std::string(kKaisiItemText)};
    }
    if (name == "cad" || argument == kCadItemText) {
        return {std::string(kCadItemText)};
    }
    if (name == "all") {
        return {std::string(kCassItemText), std::string(kKaisiItemText), std::string(kCadItemText)};
    }
    return {};
}

ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments) {
    CommandLine line;
    std::optional<std::string> format;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            line.sources.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::Help;
            return ParsedCommandLine{line, {}};
        } else if (argument == "--version") {
            line.action = CommandLine::Action::Version;
            return ParsedCommandLine{line, {}};
        } else if (argument.starts_with("-f") || argument.starts_with("--format")) {
            // Given twice, one choice would silently lose to the other: "-f all" asks for all.
            if (format) {
                return usageError("选项 -f 只能给一次 (全部格式请用 -f all)");
            }
            format = optionValue(arguments, i, "-f", "--format");
            if (!format) {
                return usageError("选项 -f 缺少格式");
            }
        } else if (argument.starts_with("-o") || argument.starts_with("--output-dir")) {
            if (!line.outputFolder.empty()) {
                return usageError("选项 -o 只能给一次");
            }
            const std::optional<std::string> folder =
                optionValue(arguments, i, "-o", "--output-dir");
            if (!folder || folder->empty()) {
                return usageError("选项 -o 缺少输出文件夹");
            }
            line.outputFolder = *folder;
        } else {
            return usageError("未知选项: " + argument);
        }
    }
    if (!format) {
        return usageError("请用 -f 选择转换格式");
    }
    line.formatItemTexts = formatItemTextsFor(*format);
    if (line.formatItemTexts.empty()) {
        return usageError("未知格式: " + *format);
    }
    if (line.sources.empty()) {
        return usageError("请给出源文件");
    }
    return ParsedCommandLine{line, {}};
}

const char *usageText() {
    return "用法 / usage: velkaro-convert -f FORMAT [-o DIR] SOURCE...\n"
           "\n"
           "  把 RTK 点文件转换为 CASS6.0 (.dat)、开思 (.txt) 或 CAD (.dxf) 坐标文件。\n"
           "  Converts RTK point files to CASS 6.0, Kaisi or DXF coordinate files.\n"
           "\n"
           "  -f, --format FORMAT    cass | kaisi | cad | all, 或列表文字\n"
           "                         \"CASS6.0格式\" \"开思格式\" \"CAD格式\"\n"
           "  -o, --output-dir DIR   输出文件夹 (默认: 源文件所在文件夹)\n"
           "  -h, --help             显示本说明\n"
           "      --version          显示版本\n"
           "\n"
           "  退出状态 / exit status: 0 全部成功, 1 有转换失败, 2 用法错误\n";
}

} // namespace velkaro::cli
