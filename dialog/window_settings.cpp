#include "window_settings.h"

#include "dialog_texts.h"
#include "option_text.h"

#include <charconv>
#include <cmath>

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::string flag(bool value) {
    return value ? "1" : "0";
}

[[nodiscard]] std::string valueOf(const SettingsValues &values, const std::string &key) {
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

template <typename Number> [[nodiscard]] std::optional<Number> numberOf(std::string_view text) {
    Number value{};
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

void takeLabels(const SettingsValues &values, ConversionOptions &options) {
    if (valueOf(values, "labels") != "1") {
        return;
    }
    DxfLabels labels;
    labels.height = parseLabelHeight(valueOf(values, "labelHeight")).value_or(labels.height);
    const std::optional<int> decimals = numberOf<int>(valueOf(values, "labelDecimals"));
    if (decimals && *decimals >= 0 && *decimals <= kMaxElevationDecimals) {
        labels.elevationDecimals = *decimals;
    }
    options.dxfLabels = labels;
}

} // namespace

std::string sourceLayoutText(const SourceReading &reading) {
    switch (reading.mode) {
    case SourceReading::Mode::Auto:
        return "auto";
    case SourceReading::Mode::Layout:
        return rolesText(reading.layout.roles);
    case SourceReading::Mode::Rtk:
        break;
    }
    return "rtk";
}

std::string encodingText(const std::optional<SourceEncoding> &encoding) {
    if (!encoding) {
        return {};
    }
    return *encoding == SourceEncoding::Utf8 ? "utf-8" : "gbk";
}

SourceReading sourceReadingOf(std::string_view layout, std::string_view encoding) {
    SourceReading reading;
    if (layout == "auto") {
        reading.mode = SourceReading::Mode::Auto;
    } else if (const std::optional<std::vector<FieldRole>> roles =
                   presetRoles(layout) ? presetRoles(layout) : parseRoles(layout)) {
        reading.mode = SourceReading::Mode::Layout;
        reading.layout.roles = *roles;
    }
    if (encoding == "utf-8" || encoding == "gbk") {
        reading.encoding = encoding == "gbk" ? SourceEncoding::Bytes : SourceEncoding::Utf8;
    }
    return reading;
}

std::string crsValueText(const std::optional<CrsChoice> &crs) {
    if (!crs) {
        return {};
    }
    return crs->mode == CrsChoice::Mode::Auto ? "auto" : "EPSG:" + std::to_string(crs->epsg);
}

std::optional<CrsChoice> crsChoiceOf(std::string_view value) {
    if (value == "auto") {
        return CrsChoice{CrsChoice::Mode::Auto, 0};
    }
    constexpr std::string_view kPrefix = "EPSG:";
    if (!value.starts_with(kPrefix)) {
        return std::nullopt;
    }
    const std::optional<int> epsg = numberOf<int>(value.substr(kPrefix.size()));
    if (!epsg || !gridOfEpsg(*epsg)) {
        return std::nullopt;
    }
    return CrsChoice{CrsChoice::Mode::Epsg, *epsg};
}

const std::vector<CrsItem> &offeredCrsItems() {
    static const std::vector<CrsItem> kItems = [] {
        std::vector<CrsItem> items = {{"", std::string(kCrsNoneItem)},
                                      {"auto", std::string(kCrsAutoItem)}};
        for (int epsg = kFirstGridEpsg; epsg <= kLastGridEpsg; ++epsg) {
            items.push_back(
                {"EPSG:" + std::to_string(epsg), wording::gridItemText(*gridOfEpsg(epsg))});
        }
        return items;
    }();
    return kItems;
}

bool operator==(const WindowSettings &a, const WindowSettings &b) {
    return toValues(a) == toValues(b);
}

SettingsValues toValues(const WindowSettings &settings) {
    const ConversionOptions &options = settings.options;
    const DxfLabels labels = options.dxfLabels.value_or(DxfLabels{});
    return {
        {"dxfCodePage", options.dxfCodePage ? std::to_string(*options.dxfCodePage) : ""},
        {"dxfAxes", options.dxfAxes == DxfAxes::En ? "en" : "xy"},
        {"labels", flag(options.dxfLabels.has_value())},
        {"labelHeight", labelHeightText(labels.height)},
        {"labelDecimals", std::to_string(labels.elevationDecimals)},
        {"cassColumns", options.cassColumns == CassColumns::Name ? "name" : "code"},
        {"skipJunk", flag(options.leaveOutLinesWithoutCoordinates)},
        {"summary", flag(options.summary)},
        {"outputPlace", settings.outputPlace == OutputPlace::Folder ? "folder" : "source"},
        {"outputFolder", settings.outputFolder},
        {"lastFolder", settings.lastFolder},
        {"sourceLayout", sourceLayoutText(options.sourceReading)},
        {"sourceEncoding", encodingText(options.sourceReading.encoding)},
        {"crs", crsValueText(options.crs)},
    };
}

WindowSettings fromValues(const SettingsValues &values) {
    WindowSettings settings;
    ConversionOptions &options = settings.options;
    const std::optional<int> codePage = numberOf<int>(valueOf(values, "dxfCodePage"));
    if (codePage && isKnownDxfCodePage(*codePage)) {
        options.dxfCodePage = codePage;
    }
    options.dxfAxes = valueOf(values, "dxfAxes") == "en" ? DxfAxes::En : DxfAxes::Xy;
    takeLabels(values, options);
    options.cassColumns =
        valueOf(values, "cassColumns") == "name" ? CassColumns::Name : CassColumns::Code;
    options.leaveOutLinesWithoutCoordinates = valueOf(values, "skipJunk") == "1";
    options.summary = valueOf(values, "summary") == "1";
    settings.outputFolder = valueOf(values, "outputFolder");
    const bool folder = valueOf(values, "outputPlace") == "folder";
    settings.outputPlace =
        folder && !settings.outputFolder.empty() ? OutputPlace::Folder : OutputPlace::BesideSource;
    settings.lastFolder = valueOf(values, "lastFolder");
    options.sourceReading =
        sourceReadingOf(valueOf(values, "sourceLayout"), valueOf(values, "sourceEncoding"));
    options.crs = crsChoiceOf(valueOf(values, "crs"));
    return settings;
}

std::optional<double> parseLabelHeight(std::string_view text) {
    const std::optional<double> height = numberOf<double>(text);
    if (!height || !std::isfinite(*height) || *height < kMinLabelHeight ||
        *height > kMaxLabelHeight) {
        return std::nullopt;
    }
    return height;
}

std::string labelHeightText(double height) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, height);
    return std::string(text, result.ptr);
}

const std::vector<int> &offeredCodePages() {
    static const std::vector<int> kPages = {0,    936,  950,  932,  949,  1252, 874, 1250,
                                            1251, 1253, 1254, 1255, 1256, 1257, 1258};
    return kPages;
}

} // namespace velkaro::dialog

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::string labelsPart(const DxfLabels &labels) {
    return "注记 (字高 " + labelHeightText(labels.height) + ", 高程 " +
           std::to_string(labels.elevationDecimals) + " 位小数)";
}

} // namespace

std::string optionsLine(const WindowSettings &settings, const NameDecoder &decode) {
    const ConversionOptions &options = settings.options;
    std::vector<std::string> parts;
    if (options.dxfCodePage) {
        parts.push_back("DXF 代码页 " + std::to_string(*options.dxfCodePage));
    }
    if (options.dxfAxes == DxfAxes::En) {
        parts.push_back("东坐标为 X");
    }
    if (options.dxfLabels) {
        parts.push_back(labelsPart(*options.dxfLabels));
    }
    if (options.cassColumns == CassColumns::Name) {
        parts.push_back("CASS 含点名");
    }
    if (options.leaveOutLinesWithoutCoordinates) {
        parts.push_back("略去无坐标行");
    }
    if (options.summary) {
        parts.push_back("摘要");
    }
    if (options.crs) {
        parts.push_back(wording::crsOptionText(*options.crs));
    }
    if (settings.outputPlace == OutputPlace::Folder) {
        parts.push_back("输出到 " + decode(settings.outputFolder));
    }
    if (options.sourceReading.mode != SourceReading::Mode::Rtk) {
        parts.insert(parts.begin(), "源文件 " + sourceLayoutText(options.sourceReading));
    }
    std::string line = "选项: ";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        line += (i == 0 ? "" : "; ") + parts[i];
    }
    return parts.empty() ? line + "与原程序相同" : line;
}

} // namespace velkaro::dialog
