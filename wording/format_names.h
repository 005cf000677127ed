#pragma once

#include "target_format.h"

#include <optional>
#include <string_view>

namespace velkaro::wording {

// The format list's text of a format: "CASS6.0格式", "开思格式", "CAD格式", then the GIS
// formats' own names.
[[nodiscard]] std::string_view formatListText(TargetFormat format);

// The short name of a format on the command line and in JSON: "cass", "kaisi", "cad",
// "gpkg", "shp", "geojson", "kml".
[[nodiscard]] std::string_view formatKey(TargetFormat format);

} // namespace velkaro::wording
