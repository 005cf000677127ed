#include "grid_projection.h"

#include <GeographicLib/TransverseMercator.hpp>

namespace velkaro::gis {
namespace {

constexpr double kCgcs2000SemiMajorAxis = 6378137.0;
constexpr double kCgcs2000Flattening = 1.0 / 298.257222101;

// Built once: the series coefficients depend on the ellipsoid only.
[[nodiscard]] const GeographicLib::TransverseMercator &cgcs2000() {
    static const GeographicLib::TransverseMercator projection(kCgcs2000SemiMajorAxis,
                                                              kCgcs2000Flattening, 1.0);
    return projection;
}

} // namespace

GridProjection::GridProjection(const GridCrs &grid) : m_grid(grid) {}

Geographic GridProjection::toGeographic(double north, double east) const {
    Geographic place;
    cgcs2000().Reverse(m_grid.centralMeridian, east - m_grid.falseEasting, north, place.latitude,
                       place.longitude);
    return place;
}

} // namespace velkaro::gis
