#pragma once

#include "grid_crs.h"

#include <string>

namespace velkaro::gis {

// The names and well-known texts that GDAL (3.6, with PROJ's EPSG database) gives the grid, so
// that a reader recognises its EPSG code: the EPSG name (CGCS2000 / 3-degree Gauss-Kruger zone
// 39), ESRI's name (CGCS2000_3_Degree_GK_Zone_39), the OGC WKT 1 with authorities and axes that
// a GeoPackage stores, and ESRI's WKT 1 of a Shapefile's .prj. All on one line.
[[nodiscard]] std::string epsgNameOf(const GridCrs &grid);
[[nodiscard]] std::string esriNameOf(const GridCrs &grid);
[[nodiscard]] std::string ogcWktOf(const GridCrs &grid);
[[nodiscard]] std::string esriWktOf(const GridCrs &grid);

// WGS 84's OGC WKT 1, a row every GeoPackage holds.
[[nodiscard]] std::string wgs84Wkt();

} // namespace velkaro::gis
