#include "layer_writers.h"

#include "geojson_writer.h"
#include "geopackage_writer.h"
#include "kml_writer.h"
#include "shapefile_writer.h"

namespace velkaro::gis {

std::unique_ptr<PointLayerWriter> LayerWriters::writerFor(const LayerRequest &request) const {
    switch (request.format) {
    // GeoJSON and KML place the points on the globe: without a grid they cannot be written
    // (the core refuses such a run before it asks for a writer).
    case TargetFormat::GeoJson:
        return request.crs ? std::make_unique<GeoJsonWriter>(request) : nullptr;
    case TargetFormat::Kml:
        return request.crs ? std::make_unique<KmlWriter>(request) : nullptr;
    case TargetFormat::GeoPackage:
        return std::make_unique<GeoPackageWriter>(request);
    case TargetFormat::Shapefile:
        return std::make_unique<ShapefileWriter>(request);
    case TargetFormat::Cass:
    case TargetFormat::Kaisi:
    case TargetFormat::Cad:
        break;
    }
    return nullptr;
}

const LayerWriters &layerWriters() {
    static const LayerWriters writers;
    return writers;
}

} // namespace velkaro::gis
