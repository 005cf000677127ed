#include "format_names.h"

namespace velkaro::wording {

std::string_view formatListText(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return "CASS6.0格式";
    case TargetFormat::Kaisi:
        return "开思格式";
    case TargetFormat::Cad:
        break;
    case TargetFormat::GeoPackage:
        return "GeoPackage (GIS)";
    case TargetFormat::Shapefile:
        return "Shapefile (GIS)";
    case TargetFormat::GeoJson:
        return "GeoJSON (网络地图)";
    case TargetFormat::Kml:
        return "KML (谷歌地球)";
    }
    return "CAD格式";
}

std::string_view formatKey(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return "cass";
    case TargetFormat::Kaisi:
        return "kaisi";
    case TargetFormat::Cad:
        break;
    case TargetFormat::GeoPackage:
        return "gpkg";
    case TargetFormat::Shapefile:
        return "shp";
    case TargetFormat::GeoJson:
        return "geojson";
    case TargetFormat::Kml:
        return "kml";
    }
    return "cad";
}

} // namespace velkaro::wording
