#pragma once

#include "grid_crs.h"
#include "target_format.h"

#include <string>
#include <string_view>

namespace velkaro::wording {

// --source-encoding without its value, and given twice.
inline constexpr std::string_view kEncodingMissingText = "选项 --source-encoding 缺少编码";
inline constexpr std::string_view kEncodingTwiceText = "选项 --source-encoding 只能给一次";

// A text height that cannot be honoured, with the heights that can: "文字高度无效: 0 (须在
// 0.000001 至 1000000 之间)".
[[nodiscard]] std::string labelHeightRangeText(std::string_view given);
// A number of elevation decimals outside 0 to kMaxElevationDecimals, with the range.
[[nodiscard]] std::string labelDecimalsRangeText(std::string_view given);

// A code page written apart from --dxf-codepage, where it would be taken as a source file:
// "选项 --dxf-codepage 的代码页须用等号连写: --dxf-codepage=950".
[[nodiscard]] std::string codePageSpellingText(std::string_view codePage);

// An encoding velkaro-convert does not know: "未知编码: latin1 (可用 gb18030 或 utf-8)".
[[nodiscard]] std::string unknownEncodingText(std::string_view given);

// An option that none of the chosen formats uses, as a warning line without a line break:
// "警告: 选项 --labels 只用于 CAD格式，本次转换不用它".
[[nodiscard]] std::string unusedOptionText(std::string_view option, TargetFormat usedBy);

// The refusal of a --crs that names no grid of CGCS2000 (nor "auto").
[[nodiscard]] std::string unknownCrsText(std::string_view given);
// The warning for --crs when no chosen format is a GIS one.
[[nodiscard]] std::string unusedCrsText();

// A grid as a list offers it: "EPSG:4491 CGCS2000 6° 带 13 (75°E, 东坐标带带号)", the last words
// only for the grids whose eastings carry the zone number in front.
[[nodiscard]] std::string gridItemText(const GridCrs &grid);

// The coordinate system chosen for the GIS formats, as the options line names it, in the
// converter's own spelling: "坐标系 auto", "坐标系 EPSG:4527".
[[nodiscard]] std::string crsOptionText(const CrsChoice &choice);

} // namespace velkaro::wording
