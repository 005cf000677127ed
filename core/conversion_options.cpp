#include "conversion_options.h"

#include <algorithm>
#include <array>

namespace velkaro {

bool isKnownDxfCodePage(int codePage) {
    // The ANSI code pages of Windows, which DXF readers know as ANSI_<number>.
    static constexpr std::array kCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                              1252, 1253, 1254, 1255, 1256, 1257, 1258};
    return std::find(kCodePages.begin(), kCodePages.end(), codePage) != kCodePages.end();
}

bool isValidLabelHeight(double height) {
    return height >= kMinLabelHeight && height <= kMaxLabelHeight;
}

bool areValid(const ConversionOptions &options) {
    if (options.dxfCodePage && !isKnownDxfCodePage(*options.dxfCodePage)) {
        return false;
    }
    const SourceReading &reading = options.sourceReading;
    if (reading.mode == SourceReading::Mode::Layout &&
        !parseRoles(rolesText(reading.layout.roles))) {
        return false; // x and y once each, no role twice
    }
    if (options.crs && options.crs->mode == CrsChoice::Mode::Epsg &&
        !gridOfEpsg(options.crs->epsg)) {
        return false;
    }
    if (options.dxfLabels) {
        const DxfLabels &labels = *options.dxfLabels;
        if (!isValidLabelHeight(labels.height) || labels.elevationDecimals < 0 ||
            labels.elevationDecimals > kMaxElevationDecimals) {
            return false;
        }
    }
    return true;
}

} // namespace velkaro
