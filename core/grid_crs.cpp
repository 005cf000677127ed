#include "grid_crs.h"

#include <cmath>

namespace velkaro {
namespace {

constexpr int kFirst6DegreeZone = 13;
constexpr int kLast6DegreeZone = 23;
constexpr int kFirst3DegreeZone = 25;
constexpr int kLast3DegreeZone = 45;
constexpr int kZonesOf6 = kLast6DegreeZone - kFirst6DegreeZone + 1; // 11
constexpr int kZonesOf3 = kLast3DegreeZone - kFirst3DegreeZone + 1; // 21
constexpr double kZoneFactor = 1000000.0;

[[nodiscard]] GridCrs gridOf(int epsg, int width, int zone, bool zoneInEasting) {
    GridCrs grid;
    grid.epsg = epsg;
    grid.zoneWidth = width;
    grid.zone = zone;
    grid.zoneInEasting = zoneInEasting;
    grid.centralMeridian = width == 6 ? 6 * zone - 3 : 3 * zone;
    grid.falseEasting = 500000.0 + (zoneInEasting ? zone * kZoneFactor : 0.0);
    return grid;
}

} // namespace

std::optional<GridCrs> gridOfEpsg(int epsg) {
    int index = epsg - kFirstGridEpsg;
    if (index < 0 || epsg > kLastGridEpsg) {
        return std::nullopt;
    }
    if (index < 2 * kZonesOf6) {
        return gridOf(epsg, 6, kFirst6DegreeZone + index % kZonesOf6, index < kZonesOf6);
    }
    index -= 2 * kZonesOf6;
    return gridOf(epsg, 3, kFirst3DegreeZone + index % kZonesOf3, index < kZonesOf3);
}

std::optional<GridCrs> gridOfEasting(double easting) {
    if (!(easting >= 10 * kZoneFactor && easting < 100 * kZoneFactor)) {
        return std::nullopt;
    }
    const int zone = static_cast<int>(std::floor(easting / kZoneFactor));
    if (zone >= kFirst6DegreeZone && zone <= kLast6DegreeZone) {
        return gridOfEpsg(kFirstGridEpsg + zone - kFirst6DegreeZone);
    }
    if (zone >= kFirst3DegreeZone && zone <= kLast3DegreeZone) {
        return gridOfEpsg(kFirstGridEpsg + 2 * kZonesOf6 + zone - kFirst3DegreeZone);
    }
    return std::nullopt;
}

bool eastingFits(const GridCrs &grid, double easting) {
    if (grid.zoneInEasting) {
        return std::floor(easting / kZoneFactor) == grid.zone;
    }
    return easting > 0.0 && easting < kZoneFactor;
}

} // namespace velkaro
