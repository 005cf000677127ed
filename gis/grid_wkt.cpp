#include "grid_wkt.h"

#include <charconv>
#include <cmath>

namespace velkaro::gis {
namespace {

// Every parameter of the grids is a whole number: meridians in degrees, easting in metres.
[[nodiscard]] std::string wholeNumber(double value) {
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, static_cast<long long>(std::llround(value)));
    return std::string(digits, result.ptr);
}

// "CM 117E" for a grid without the zone in front of its eastings, "zone 39" otherwise.
[[nodiscard]] std::string zoneWord(const GridCrs &grid, const char *zoneLabel) {
    return grid.zoneInEasting ? zoneLabel + wholeNumber(grid.zone)
                              : "CM " + wholeNumber(grid.centralMeridian) + "E";
}

[[nodiscard]] std::string authority(int code) {
    return "AUTHORITY[\"EPSG\",\"" + wholeNumber(code) + "\"]";
}

const char *const kOgcGeographic =
    "GEOGCS[\"China Geodetic Coordinate System 2000\",DATUM[\"China_2000\","
    "SPHEROID[\"CGCS2000\",6378137,298.257222101,AUTHORITY[\"EPSG\",\"1024\"]],"
    "AUTHORITY[\"EPSG\",\"1043\"]],PRIMEM[\"Greenwich\",0,AUTHORITY[\"EPSG\",\"8901\"]],"
    "UNIT[\"degree\",0.0174532925199433,AUTHORITY[\"EPSG\",\"9122\"]],"
    "AUTHORITY[\"EPSG\",\"4490\"]]";

const char *const kEsriGeographic =
    "GEOGCS[\"GCS_China_Geodetic_Coordinate_System_2000\",DATUM[\"D_China_2000\","
    "SPHEROID[\"CGCS2000\",6378137.0,298.257222101]],PRIMEM[\"Greenwich\",0.0],"
    "UNIT[\"Degree\",0.0174532925199433]]";

} // namespace

std::string epsgNameOf(const GridCrs &grid) {
    const char *width = grid.zoneWidth == 3 ? "3-degree " : "";
    return std::string("CGCS2000 / ") + width + "Gauss-Kruger " + zoneWord(grid, "zone ");
}

std::string esriNameOf(const GridCrs &grid) {
    const std::string zone = grid.zoneInEasting ? "Zone_" + wholeNumber(grid.zone)
                                                : "CM_" + wholeNumber(grid.centralMeridian) + "E";
    return std::string("CGCS2000_") + (grid.zoneWidth == 3 ? "3_Degree_" : "") + "GK_" + zone;
}

std::string ogcWktOf(const GridCrs &grid) {
    return "PROJCS[\"" + epsgNameOf(grid) + "\"," + kOgcGeographic +
           ",PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"latitude_of_origin\",0],"
           "PARAMETER[\"central_meridian\"," +
           wholeNumber(grid.centralMeridian) +
           "],PARAMETER[\"scale_factor\",1],PARAMETER[\"false_easting\"," +
           wholeNumber(grid.falseEasting) + "],PARAMETER[\"false_northing\",0],UNIT[\"metre\",1," +
           authority(9001) + "],AXIS[\"Northing\",NORTH],AXIS[\"Easting\",EAST]," +
           authority(grid.epsg) + "]";
}

std::string esriWktOf(const GridCrs &grid) {
    return "PROJCS[\"" + esriNameOf(grid) + "\"," + kEsriGeographic +
           ",PROJECTION[\"Gauss_Kruger\"],PARAMETER[\"False_Easting\"," +
           wholeNumber(grid.falseEasting) +
           ".0],PARAMETER[\"False_Northing\",0.0],PARAMETER[\"Central_Meridian\"," +
           wholeNumber(grid.centralMeridian) +
           ".0],PARAMETER[\"Scale_Factor\",1.0],PARAMETER[\"Latitude_Of_Origin\",0.0],"
           "UNIT[\"Meter\",1.0]]";
}

std::string wgs84Wkt() {
    return "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563,"
           "AUTHORITY[\"EPSG\",\"7030\"]],AUTHORITY[\"EPSG\",\"6326\"]],PRIMEM[\"Greenwich\",0,"
           "AUTHORITY[\"EPSG\",\"8901\"]],UNIT[\"degree\",0.0174532925199433,"
           "AUTHORITY[\"EPSG\",\"9122\"]],AXIS[\"Latitude\",NORTH],AXIS[\"Longitude\",EAST],"
           "AUTHORITY[\"EPSG\",\"4326\"]]";
}

} // namespace velkaro::gis
