#pragma once

namespace velkaro {

// The targets of a conversion: the old tool's three, with its numbers, then the GIS formats.
enum class TargetFormat {
    Cass = 1,
    Kaisi = 2,
    Cad = 3,
    GeoPackage = 4, // OGC GeoPackage 1.3, one point layer with Z
    Shapefile = 5,  // ESRI Shapefile PointZ with .shx, .dbf, .prj and .cpg beside it
    GeoJson = 6,    // RFC 7946: WGS 84 longitude, latitude and height
    Kml = 7,        // KML 2.2: WGS 84, a folder per code
};

// The old tool's three, in the order its format list shows them; what "all formats" means.
inline constexpr TargetFormat kTargetFormats[] = {TargetFormat::Cass, TargetFormat::Kaisi,
                                                  TargetFormat::Cad};

// The GIS formats, in the order they follow the old three in a list.
inline constexpr TargetFormat kGisFormats[] = {TargetFormat::GeoPackage, TargetFormat::Shapefile,
                                               TargetFormat::GeoJson, TargetFormat::Kml};

// Whether the format is written by a point layer writer (see PointLayerWriters), not the old
// tool's record writers.
[[nodiscard]] constexpr bool isGisFormat(TargetFormat format) {
    return static_cast<int>(format) >= static_cast<int>(TargetFormat::GeoPackage);
}

// Whether the format places the points on the globe, so that it cannot be written without a
// coordinate reference system.
[[nodiscard]] constexpr bool needsGeographicCoordinates(TargetFormat format) {
    return format == TargetFormat::GeoJson || format == TargetFormat::Kml;
}

} // namespace velkaro
