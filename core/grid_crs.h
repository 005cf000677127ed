#pragma once

#include <optional>

namespace velkaro {

// A CGCS2000 Gauss–Krüger grid of China's surveys: a transverse Mercator of the CGCS2000
// ellipsoid with scale 1 on the central meridian. EPSG 4491–4512 are the 6° zones 13–23
// (first with the zone number in front of the easting, then without), 4513–4554 the 3° zones
// 25–45 (the same two ways).
struct GridCrs {
    int epsg = 0;
    int zoneWidth = 0;              // 3 or 6 degrees
    int zone = 0;                   // the zone's number
    bool zoneInEasting = false;     // eastings carry the zone number in front: zone * 1e6 + ...
    int centralMeridian = 0;        // degrees east
    double falseEasting = 500000.0; // zone * 1e6 + 500000 when zoneInEasting
};

// How a run chooses the grid of its GIS output.
struct CrsChoice {
    enum class Mode {
        Epsg, // the grid of epsg
        Auto, // the zone in front of the first point's easting (see gridOfEasting)
    };
    Mode mode = Mode::Auto;
    int epsg = 0;
};

inline constexpr int kFirstGridEpsg = 4491;
inline constexpr int kLastGridEpsg = 4554;

// The grid of an EPSG code from kFirstGridEpsg to kLastGridEpsg; nothing for any other code.
[[nodiscard]] std::optional<GridCrs> gridOfEpsg(int epsg);

// The grid that an easting of 8 integer digits names by the zone number in front of it: 25–45
// are 3° zones and 13–23 6° zones, two ranges that do not overlap. Nothing for any other easting.
[[nodiscard]] std::optional<GridCrs> gridOfEasting(double easting);

// Whether an easting can lie in the grid: within 1,000 km of the false easting's zone (the
// widest 6° zone is about 670 km across at the equator), and with the grid's zone number in
// front when the grid writes one. Catches a point of another zone or an unprefixed easting.
[[nodiscard]] bool eastingFits(const GridCrs &grid, double easting);

} // namespace velkaro
