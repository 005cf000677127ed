#include "command_line.h"

#include "format_names.h"
#include "grid_crs.h"
#include "memory_reserve.h"
#include "option_text.h"

// CLI11's header defines validator objects that are built before main, in the order of this
// file; the handler must be in place before them.
namespace {
const bool kHandlerBeforeCli11 = velkaro::cli::MemoryReserve::installBeforeMain();
} // namespace

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <string_view>

namespace velkaro::cli {
namespace {

constexpr std::string_view kCodePageOption = "--dxf-codepage";
constexpr int kDefaultCodePage = 936;

[[nodiscard]] std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

// The texts of the options as given; an option's Option pointer tells whether it was given.
struct Given {
    bool help = false;
    bool version = false;
    bool labels = false;
    bool skipJunk = false;
    bool summary = false;
    bool json = false;
    std::string format, outputFolder, codePage, axes, labelHeight, labelDecimals, cassColumns,
        encoding, sourceLayout, crs;
    std::vector<std::string> sources;
};

// A value option's names and its error messages: a missing value, and the option given twice
// (one choice would silently lose to the other; "-f all" asks for all formats).
struct ValueOption {
    std::string_view names;
    std::string_view longName;
    std::string_view missing;
    std::string_view twice;
    std::string Given::*text;
};

constexpr ValueOption kValueOptions[] = {
    {"-f,--format", "--format", "选项 -f 缺少格式", "选项 -f 只能给一次 (全部格式请用 -f all)",
     &Given::format},
    {"-o,--output-dir", "--output-dir", "选项 -o 缺少输出文件夹", "选项 -o 只能给一次",
     &Given::outputFolder},
    {"--dxf-codepage", "--dxf-codepage", "选项 --dxf-codepage 缺少代码页",
     "选项 --dxf-codepage 只能给一次", &Given::codePage},
    {"--dxf-axes", "--dxf-axes", "选项 --dxf-axes 缺少 xy 或 en", "选项 --dxf-axes 只能给一次",
     &Given::axes},
    {"--label-height", "--label-height", "选项 --label-height 缺少高度",
     "选项 --label-height 只能给一次", &Given::labelHeight},
    {"--label-decimals", "--label-decimals", "选项 --label-decimals 缺少位数",
     "选项 --label-decimals 只能给一次", &Given::labelDecimals},
    {"--cass-columns", "--cass-columns", "选项 --cass-columns 缺少 code 或 name",
     "选项 --cass-columns 只能给一次", &Given::cassColumns},
    {"--source-layout", "--source-layout", "选项 --source-layout 缺少格式",
     "选项 --source-layout 只能给一次", &Given::sourceLayout},
    {"--source-encoding", "--source-encoding", wording::kEncodingMissingText,
     wording::kEncodingTwiceText, &Given::encoding},
    {"--crs", "--crs", "选项 --crs 缺少坐标系 (auto 或 EPSG:NNNN)", "选项 --crs 只能给一次",
     &Given::crs},
};

// The options that only one format uses, for the warning when none of the chosen formats is it.
struct FormatOption {
    std::string_view longName;
    TargetFormat usedBy;
};

constexpr FormatOption kFormatOptions[] = {
    {kCodePageOption, TargetFormat::Cad},    {"--dxf-axes", TargetFormat::Cad},
    {"--labels", TargetFormat::Cad},         {"--label-height", TargetFormat::Cad},
    {"--label-decimals", TargetFormat::Cad}, {"--cass-columns", TargetFormat::Cass},
};

[[nodiscard]] bool isWholeNumber(const std::string &text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A number right after a bare --dxf-codepage, which would be taken as a source file (GNU's
// optional values only follow an "="); empty when there is none.
[[nodiscard]] std::string codePageWrittenApart(const std::vector<std::string> &arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size() && arguments[i] != "--"; ++i) {
        if (arguments[i] == kCodePageOption && isWholeNumber(arguments[i + 1])) {
            return arguments[i + 1];
        }
    }
    return {};
}

// GNU's rules where CLI11 differs: --dxf-codepage alone means 936 (its value only ever follows
// an "="), and "--name=" gives the option an empty value instead of taking the next argument.
[[nodiscard]] std::vector<std::string> asGnuReadsThem(const std::vector<std::string> &arguments) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--") {
            result.insert(result.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                          arguments.end());
            break;
        }
        if (argument == kCodePageOption) {
            result.push_back(argument + "=" + std::to_string(kDefaultCodePage));
        } else if (argument.starts_with("--") && argument.ends_with("=")) {
            result.push_back(argument.substr(0, argument.size() - 1));
            result.emplace_back();
        } else {
            result.push_back(argument);
        }
    }
    return result;
}

void defineOptions(CLI::App &app, Given &given) {
    app.set_help_flag();
    app.add_flag("-h,--help", given.help);
    app.add_flag("--version", given.version);
    for (const ValueOption &option : kValueOptions) {
        app.add_option(std::string(option.names), given.*option.text);
    }
    app.add_flag("--labels", given.labels);
    app.add_flag("--skip-junk", given.skipJunk);
    app.add_flag("--summary", given.summary);
    app.add_flag("--json", given.json);
    app.add_option("sources", given.sources);
}

// CLI11's errors in the converter's words.
[[nodiscard]] std::string errorText(const CLI::ParseError &error, const CLI::App &app) {
    if (dynamic_cast<const CLI::ExtrasError *>(&error) != nullptr) {
        const std::vector<std::string> extras = app.remaining();
        return "未知选项: " + (extras.empty() ? std::string() : extras.front());
    }
    const std::string what = error.what();
    for (const ValueOption &option : kValueOptions) {
        if (what.starts_with(std::string(option.longName) + ":")) {
            const std::size_t given = app.get_option(std::string(option.longName))->count();
            return std::string(given > 1 ? option.twice : option.missing);
        }
    }
    return what;
}

[[nodiscard]] bool isGiven(const CLI::App &app, std::string_view longName) {
    return app.get_option(std::string(longName))->count() > 0;
}

[[nodiscard]] ParsedCommandLine usageError(std::string error) {
    return ParsedCommandLine{std::nullopt, std::move(error)};
}

// The whole text as one number, or false.
template <typename Number> [[nodiscard]] bool parseWhole(const std::string &text, Number &value) {
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// The drawing's code page and axes; the error text of the first value out of range, or empty.
[[nodiscard]] std::string takeDrawingOptions(const CLI::App &app, const Given &given,
                                             ConversionOptions &options) {
    if (isGiven(app, kCodePageOption)) {
        int codePage = 0;
        if (!parseWhole(given.codePage, codePage) || !isKnownDxfCodePage(codePage)) {
            return "未知代码页: " + given.codePage;
        }
        options.dxfCodePage = codePage;
    }
    if (isGiven(app, "--dxf-axes")) {
        const std::string axes = lowerAscii(given.axes);
        if (axes != "xy" && axes != "en") {
            return "未知坐标轴: " + given.axes;
        }
        options.dxfAxes = axes == "en" ? DxfAxes::En : DxfAxes::Xy;
    }
    if (isGiven(app, "--cass-columns")) {
        const std::string columns = lowerAscii(given.cassColumns);
        if (columns != "code" && columns != "name") {
            return "未知 CASS 列: " + given.cassColumns;
        }
        options.cassColumns = columns == "name" ? CassColumns::Name : CassColumns::Code;
    }
    return {};
}

// --labels, and the label settings, which ask for labels too.
[[nodiscard]] std::string takeLabelOptions(const CLI::App &app, const Given &given,
                                           ConversionOptions &options) {
    const bool height = isGiven(app, "--label-height");
    const bool decimals = isGiven(app, "--label-decimals");
    if (!given.labels && !height && !decimals) {
        return {};
    }
    DxfLabels labels;
    if (height &&
        (!parseWhole(given.labelHeight, labels.height) || !isValidLabelHeight(labels.height))) {
        return wording::labelHeightRangeText(given.labelHeight);
    }
    if (decimals &&
        (!parseWhole(given.labelDecimals, labels.elevationDecimals) ||
         labels.elevationDecimals < 0 || labels.elevationDecimals > kMaxElevationDecimals)) {
        return wording::labelDecimalsRangeText(given.labelDecimals);
    }
    options.dxfLabels = labels;
    return {};
}

// How the sources are read: rtk (the old tool's way), auto, a named layout or a list of roles.
// The error text, or empty.
[[nodiscard]] std::string takeReadingOptions(const CLI::App &app, const Given &given,
                                             SourceReading &reading) {
    if (isGiven(app, "--source-layout")) {
        const std::string layout = lowerAscii(given.sourceLayout);
        const std::optional<std::vector<FieldRole>> roles =
            presetRoles(layout) ? presetRoles(layout) : parseRoles(layout);
        if (layout == "auto") {
            reading.mode = SourceReading::Mode::Auto;
        } else if (roles) {
            reading.mode = SourceReading::Mode::Layout;
            reading.layout.roles = *roles;
        } else if (layout != "rtk") {
            return "未知源文件格式: " + given.sourceLayout +
                   " (可用 rtk, auto, cass, pnezd, penzd, 或如 name,code,y,x,z 的列表)";
        }
    }
    return {};
}

// A warning for each option that only a format that was not chosen uses.
[[nodiscard]] std::vector<OptionWarning> unusedOptions(const CLI::App &app,
                                                       const std::vector<TargetFormat> &formats) {
    std::vector<OptionWarning> warnings;
    for (const FormatOption &option : kFormatOptions) {
        const bool chosen =
            std::find(formats.begin(), formats.end(), option.usedBy) != formats.end();
        if (!chosen && isGiven(app, option.longName)) {
            warnings.push_back({std::string(option.longName),
                                wording::unusedOptionText(option.longName, option.usedBy)});
        }
    }
    return warnings;
}

[[nodiscard]] std::string takeEncoding(const CLI::App &app, const Given &given, CommandLine &line) {
    if (!isGiven(app, "--source-encoding")) {
        return {};
    }
    line.sourceEncoding = encodingNamed(given.encoding);
    if (!line.sourceEncoding) {
        return wording::unknownEncodingText(given.encoding);
    }
    // The same text the reading turns into the outputs' code page: GB18030 holds GBK's bytes,
    // which are copied as they are.
    line.options.sourceReading.encoding = *line.sourceEncoding == TextEncoding::Utf8
                                              ? velkaro::SourceEncoding::Utf8
                                              : velkaro::SourceEncoding::Bytes;
    return {};
}

// The number of "epsg:NNNN" (lower case), or nothing.
[[nodiscard]] std::optional<int> epsgCodeOf(std::string_view name) {
    constexpr std::string_view kPrefix = "epsg:";
    if (!name.starts_with(kPrefix)) {
        return std::nullopt;
    }
    name.remove_prefix(kPrefix.size());
    int code = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
    if (error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return code;
}

// --crs: "auto" or "EPSG:NNNN" (any case) of a CGCS2000 Gauss-Kruger grid; a warning when no
// chosen format is a GIS one.
[[nodiscard]] std::string takeCrs(const CLI::App &app, const Given &given, CommandLine &line) {
    if (!isGiven(app, "--crs")) {
        return {};
    }
    const std::string name = lowerAscii(given.crs);
    if (name == "auto") {
        line.options.crs = CrsChoice{CrsChoice::Mode::Auto, 0};
    } else if (const std::optional<int> epsg = epsgCodeOf(name); epsg && gridOfEpsg(*epsg)) {
        line.options.crs = CrsChoice{CrsChoice::Mode::Epsg, *epsg};
    } else {
        return wording::unknownCrsText(given.crs);
    }
    if (std::none_of(line.formats.begin(), line.formats.end(), isGisFormat)) {
        line.warnings.push_back({"--crs", wording::unusedCrsText()});
    }
    return {};
}

[[nodiscard]] ParsedCommandLine commandLineFrom(const CLI::App &app, const Given &given) {
    CommandLine line;
    if (!isGiven(app, "--format")) {
        return usageError("请用 -f 选择转换格式");
    }
    line.formats = formatsFor(given.format);
    if (line.formats.empty()) {
        return usageError("未知格式: " + given.format);
    }
    if (isGiven(app, "--output-dir") && given.outputFolder.empty()) {
        return usageError("选项 -o 缺少输出文件夹");
    }
    line.outputFolder = given.outputFolder;
    std::string error = takeDrawingOptions(app, given, line.options);
    if (error.empty()) {
        error = takeLabelOptions(app, given, line.options);
    }
    if (error.empty()) {
        error = takeReadingOptions(app, given, line.options.sourceReading);
    }
    if (error.empty()) {
        error = takeEncoding(app, given, line);
    }
    line.warnings = unusedOptions(app, line.formats);
    if (error.empty()) {
        error = takeCrs(app, given, line);
    }
    if (!error.empty()) {
        return usageError(error);
    }
    line.options.leaveOutLinesWithoutCoordinates = given.skipJunk;
    line.options.summary = given.summary || given.json;
    line.json = given.json;
    line.sources = given.sources;
    if (line.sources.empty()) {
        return usageError("请给出源文件");
    }
    return ParsedCommandLine{line, {}};
}

} // namespace

std::vector<TargetFormat> formatsFor(const std::string &argument) {
    const std::string name = lowerAscii(argument);
    if (name == "all") {
        return {std::begin(kTargetFormats), std::end(kTargetFormats)};
    }
    using Formats = std::span<const TargetFormat>;
    for (const Formats formats : {Formats(kTargetFormats), Formats(kGisFormats)}) {
        for (const TargetFormat format : formats) {
            if (name == wording::formatKey(format) || argument == wording::formatListText(format)) {
                return {format};
            }
        }
    }
    return {};
}

namespace {

// Whether --json is among the options (before a "--").
[[nodiscard]] bool asksForJson(const std::vector<std::string> &arguments) {
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    return std::find(arguments.begin(), end, "--json") != end;
}

[[nodiscard]] ParsedCommandLine parseArguments(const std::vector<std::string> &arguments) {
    if (const std::string codePage = codePageWrittenApart(arguments); !codePage.empty()) {
        return usageError(wording::codePageSpellingText(codePage));
    }
    CLI::App app;
    Given given;
    defineOptions(app, given);
    std::vector<std::string> reversed = asGnuReadsThem(arguments);
    std::reverse(reversed.begin(), reversed.end()); // CLI11 takes the last argument first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError &error) {
        return usageError(errorText(error, app));
    }
    if (given.help || given.version) {
        CommandLine line;
        line.action = given.help ? CommandLine::Action::Help : CommandLine::Action::Version;
        return ParsedCommandLine{line, {}};
    }
    return commandLineFrom(app, given);
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments) {
    ParsedCommandLine parsed = parseArguments(arguments);
    parsed.json = asksForJson(arguments);
    return parsed;
}

const char *usageText() {
    return "用法 / usage: velkaro-convert -f FORMAT [-o DIR] SOURCE...\n"
           "\n"
           "  把 RTK 点文件转换为 CASS6.0 (.dat)、开思 (.txt) 或 CAD (.dxf) 坐标文件。\n"
           "  Converts RTK point files to CASS 6.0, Kaisi or DXF coordinate files.\n"
           "\n"
           "  -f, --format FORMAT    cass | kaisi | cad | all (即这三种), 或列表文字\n"
           "                         \"CASS6.0格式\" \"开思格式\" \"CAD格式\"\n"
           "                         GIS: gpkg (GeoPackage) | shp (Shapefile) | geojson | kml\n"
           "  -o, --output-dir DIR   输出文件夹 (默认: 源文件所在文件夹)\n"
           "  -h, --help             显示本说明\n"
           "      --version          显示版本\n"
           "\n"
           "  以下选项改变输出; 不给出时输出与原程序逐字节相同:\n"
           "      --dxf-codepage[=CP]  DXF 写 HEADER 注明代码页 (默认 936, 也可 950, 1252...)\n"
           "      --dxf-axes xy|en     en: 东坐标 (源的 y) 为图形 X, 北坐标为 Y (默认 xy)\n"
           "      --labels             每点旁写点名 (图层 ZDH) 和高程 (图层 GCD) 文字\n"
           "      --label-height H     文字高度 (默认 1.0 图形单位)\n"
           "      --label-decimals N   高程小数位数 0-6 (默认 3)\n"
           "      --cass-columns code|name  name: 点名,编码,Y,X,H, 如 CASS 说明 (默认 code)\n"
           "      --skip-junk          略去 x, y, z 都没有数值的行 (如标题行), 并报告行号\n"
           "      --summary            每次转换后按编码列出点数和 x, y, z 范围\n"
           "      --json               标准输出改为每次转换一行 JSON (含上述摘要)\n"
           "      --source-layout L    源文件各列: rtk (默认, 原程序的读法), auto (按标题行或数值\n"
           "                           自动识别), cass (name,code,y,x,z), pnezd "
           "(name,x,y,z,code),\n"
           "                           penzd (name,y,x,z,code), 或列表如 -,-,name,code,x,y,z\n"
           "                           (x 为北坐标, y 为东坐标, - 为跳过的列)\n"
           "      --source-encoding gb18030|utf-8  源文件文字编码 (gbk 同 gb18030): utf-8 "
           "时点名和\n"
           "                           编码转为输出的代码页; 也是 JSON 中编码和点名的源编码\n"
           "                           (默认 gb18030; 编码都是有效 UTF-8 时为 utf-8)\n"
           "      --crs auto|EPSG:N    GIS 格式的坐标系: CGCS2000 高斯-克吕格 EPSG:4491 至 4554\n"
           "                           (3° 带 4513-4554, 6° 带 4491-4512); auto 按东坐标前的带号\n"
           "                           (25-45 为 3° 带, 13-23 为 6° 带). geojson 和 kml 必须给出\n"
           "\n"
           "  退出状态 / exit status: 0 全部成功, 1 有转换失败, 2 用法错误\n";
}

} // namespace velkaro::cli
