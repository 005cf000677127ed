#include "layer_writers.h"

#include "geopackage_writer.h"
#include "shapefile_writer.h"

namespace velkaro::gis {

std::unique_ptr<PointLayerWriter> LayerWriters::writerFor(const LayerRequest &request) const {
    switch (request.format) {
    case TargetFormat::GeoPackage:
        return std::make_unique<GeoPackageWriter>(request);
    case TargetFormat::Shapefile:
        return std::make_unique<ShapefileWriter>(request);
    case TargetFormat::GeoJson:
    case TargetFormat::Kml:
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
