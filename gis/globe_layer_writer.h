#pragma once

#include "grid_projection.h"
#include "layer_text_file.h"
#include "point_layer_writer.h"

#include <optional>
#include <string>

namespace velkaro::gis {

// What the writers that put points on the globe in one text file (GeoJSON, KML) share: the
// file, the grid's projection (the request must hold the grid), the layer's name, and the record
// being built, kept for its capacity.
class GlobeLayerWriter : public PointLayerWriter {
  public:
    [[nodiscard]] FileFailure failure() const override { return m_file.failure(); }
    [[nodiscard]] bool failedCommitting() const override { return m_file.failedCommitting(); }
    [[nodiscard]] std::string folderToSync() const override { return m_file.folderToSync(); }
    [[nodiscard]] std::string outputPath() const override { return m_file.outputPath(); }

  protected:
    explicit GlobeLayerWriter(const LayerRequest &request);

    // The point's longitude and latitude in WGS 84 (the grid's CGCS2000 places taken as such);
    // none when they or its height are no finite number (an exponent past the range of doubles
    // in the source), which both formats write as a point without a place.
    [[nodiscard]] std::optional<Geographic> placeOf(const LayerPoint &point) const;
    // Appends "longitude,latitude," to the record, in degrees to nine decimals.
    void appendDegreesOf(const Geographic &place);

    LayerTextFile m_file;
    GridProjection m_projection;
    std::string m_layerName;
    std::string m_record;
};

} // namespace velkaro::gis
