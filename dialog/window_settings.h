#pragma once

#include "conversion_options.h"
#include "message.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::dialog {

// Where the window writes its outputs.
enum class OutputPlace {
    BesideSource, // in each source's folder, as the old tool did
    Folder,       // in one folder the user chose
};

// What the window remembers between runs: the converter's options, where outputs go and where
// Browse starts. A default-constructed value is the old tool's behaviour.
struct WindowSettings {
    ConversionOptions options;
    OutputPlace outputPlace = OutputPlace::BesideSource;
    std::string outputFolder; // a core name; used with OutputPlace::Folder
    std::string lastFolder;   // a core name; where Browse opens, empty for the platform's choice
    friend bool operator==(const WindowSettings &, const WindowSettings &);
};

// The settings as text values under stable keys, for the platform's store (Qt's settings on
// Linux, the registry on Windows), and back. A missing or unreadable value, or one out of the
// converter's range, takes its default: a damaged store never stops the window.
using SettingsValues = std::map<std::string, std::string>;
[[nodiscard]] SettingsValues toValues(const WindowSettings &settings);
[[nodiscard]] WindowSettings fromValues(const SettingsValues &values);

// The short line under the main window's controls that shows the options in force, so that
// nobody converts with an option they forgot: "选项: 与原程序相同" for the defaults.
[[nodiscard]] std::string optionsLine(const WindowSettings &settings, const NameDecoder &decode);

// A text height typed into the settings: a decimal number within the converter's range;
// nullopt otherwise.
[[nodiscard]] std::optional<double> parseLabelHeight(std::string_view text);
// The text the settings show for a height: the shortest decimal that reads back as it.
[[nodiscard]] std::string labelHeightText(double height);

// The source's layout as the settings store it and the converter's --source-layout writes it:
// "rtk", "auto", or a list of roles ("name,code,y,x,z"); and its encoding: "", "utf-8", "gbk".
// Unreadable values give the old tool's reading.
[[nodiscard]] std::string sourceLayoutText(const SourceReading &reading);
[[nodiscard]] std::string encodingText(const std::optional<SourceEncoding> &encoding);
[[nodiscard]] SourceReading sourceReadingOf(std::string_view layout, std::string_view encoding);

// The coordinate system of the GIS formats as the settings store it and the converter's --crs
// writes it: "" for none (a local grid), "auto", or "EPSG:4527". An unknown value gives none.
[[nodiscard]] std::string crsValueText(const std::optional<CrsChoice> &crs);
[[nodiscard]] std::optional<CrsChoice> crsChoiceOf(std::string_view value);

// One choice of the settings' coordinate system list: the stored value and the text shown.
struct CrsItem {
    std::string value;
    std::string text;
};
// In list order: none, auto, then every grid from kFirstGridEpsg to kLastGridEpsg.
[[nodiscard]] const std::vector<CrsItem> &offeredCrsItems();

// The DXF code pages the settings offer, in order; 0 stands for "no HEADER", the old tool's.
[[nodiscard]] const std::vector<int> &offeredCodePages();

} // namespace velkaro::dialog
