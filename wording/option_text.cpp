#include "option_text.h"

#include "conversion_options.h"
#include "format_names.h"
#include "number_rules.h"

namespace velkaro::wording {

std::string labelHeightRangeText(std::string_view given) {
    return "文字高度无效: " + std::string(given) + " (须在 " + formatFixed6(kMinLabelHeight) +
           " 至 " + std::to_string(static_cast<long long>(kMaxLabelHeight)) + " 之间)";
}

std::string labelDecimalsRangeText(std::string_view given) {
    return "小数位数无效: " + std::string(given) + " (须在 0 至 " +
           std::to_string(kMaxElevationDecimals) + " 之间)";
}

std::string codePageSpellingText(std::string_view codePage) {
    return "选项 --dxf-codepage 的代码页须用等号连写: --dxf-codepage=" + std::string(codePage);
}

std::string unknownEncodingText(std::string_view given) {
    return "未知编码: " + std::string(given) + " (可用 gb18030 或 utf-8)";
}

std::string unknownCrsText(std::string_view given) {
    return "未知坐标系: " + std::string(given) +
           " (可用 auto, 或 CGCS2000 高斯-克吕格坐标系 EPSG:4491 至 EPSG:4554)";
}

std::string unusedCrsText() {
    return "警告: 选项 --crs 只用于 GIS 格式 (gpkg, shp, geojson, kml)，本次转换不用它";
}

std::string unusedOptionText(std::string_view option, TargetFormat usedBy) {
    return "警告: 选项 " + std::string(option) + " 只用于" + std::string(formatListText(usedBy)) +
           "，本次转换不用它";
}

std::string gridItemText(const GridCrs &grid) {
    return "EPSG:" + std::to_string(grid.epsg) + " CGCS2000 " + std::to_string(grid.zoneWidth) +
           "° 带 " + std::to_string(grid.zone) + " (" + std::to_string(grid.centralMeridian) +
           "°E" + (grid.zoneInEasting ? ", 东坐标带带号)" : ")");
}

std::string crsOptionText(const CrsChoice &choice) {
    return "坐标系 " + (choice.mode == CrsChoice::Mode::Auto
                            ? std::string("auto")
                            : "EPSG:" + std::to_string(choice.epsg));
}

} // namespace velkaro::wording
