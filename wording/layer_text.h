#pragma once

#include <string_view>

namespace velkaro::wording {

// The words a KML placemark's description puts before the point's code and elevation, one per
// line: "编码: KZD", "高程: 41.893".
inline constexpr std::string_view kPlacemarkCodeLabel = "编码: ";
inline constexpr std::string_view kPlacemarkHeightLabel = "高程: ";

} // namespace velkaro::wording
