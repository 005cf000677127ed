#pragma once

#include "globe_layer_writer.h"

#include <cstdint>

namespace velkaro::gis {

// RFC 7946 GeoJSON: one FeatureCollection, one Point feature per point in the order of the
// source, at [longitude, latitude, height] in WGS 84 (the grid's CGCS2000 places taken as such;
// no "crs" member, which RFC 7946 dropped), with the properties name, code, z (the height) and
// line (the source line). A point whose place or height is no finite number (an exponent past
// the range of doubles in the source) keeps its feature, with a null geometry, which RFC 7946
// gives a feature without a place. Streams: its memory does not grow with the points.
class GeoJsonWriter final : public GlobeLayerWriter {
  public:
    // request.crs must hold the grid: the points are placed on the globe.
    explicit GeoJsonWriter(const LayerRequest &request) : GlobeLayerWriter(request) {}

    [[nodiscard]] bool create() override;
    [[nodiscard]] PointWritten add(const LayerPoint &point) override;
    [[nodiscard]] bool finish(FolderSync sync) override;

  private:
    void appendGeometry(const LayerPoint &point);

    std::uint64_t m_features = 0;
};

} // namespace velkaro::gis
