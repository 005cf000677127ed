#include "globe_layer_writer.h"

#include "markup_text.h"

#include <cmath>

namespace velkaro::gis {

GlobeLayerWriter::GlobeLayerWriter(const LayerRequest &request)
    : m_file(request), m_projection(request.crs.value()), m_layerName(request.layerName) {}

std::optional<Geographic> GlobeLayerWriter::placeOf(const LayerPoint &point) const {
    const Geographic place = m_projection.toGeographic(point.north, point.east);
    if (!std::isfinite(place.longitude) || !std::isfinite(place.latitude) ||
        !std::isfinite(point.height)) {
        return std::nullopt;
    }
    return place;
}

void GlobeLayerWriter::appendDegreesOf(const Geographic &place) {
    appendDegrees(m_record, place.longitude);
    m_record += ',';
    appendDegrees(m_record, place.latitude);
    m_record += ',';
}

} // namespace velkaro::gis
