#pragma once

#include "grid_crs.h"

namespace velkaro::gis {

// A place on the CGCS2000 ellipsoid, which GeoJSON and KML take as WGS 84: the two differ by
// far less than a survey's accuracy on the globe (PROJ's ballpark transformation between them
// is the identity as well).
struct Geographic {
    double longitude = 0.0; // degrees east
    double latitude = 0.0;  // degrees north
};

// The transverse Mercator of one grid: the CGCS2000 ellipsoid (a = 6378137 m,
// f = 1/298.257222101), scale 1 on the zone's central meridian, the zone's false easting.
class GridProjection {
  public:
    explicit GridProjection(const GridCrs &grid);

    // The place of a grid point; exact to well below a millimetre within a zone.
    [[nodiscard]] Geographic toGeographic(double north, double east) const;

  private:
    GridCrs m_grid;
};

} // namespace velkaro::gis
