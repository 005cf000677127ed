#pragma once

#include <chrono>
#include <string>

namespace velkaro::gis {

// The time an output records as its own (a Shapefile table's date, a GeoPackage layer's last
// change): now, or the seconds since 1970 in SOURCE_DATE_EPOCH when that holds a number, the
// reproducible-builds convention, so that two runs, or two platforms, can write the same bytes.
[[nodiscard]] std::chrono::sys_seconds outputTime();

// The time as GeoPackage writes it: "2026-12-08T09:30:00.000Z".
[[nodiscard]] std::string isoTimestamp(std::chrono::sys_seconds time);

} // namespace velkaro::gis
