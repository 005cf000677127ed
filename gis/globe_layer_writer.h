#pragma once

#include "grid_projection.h"
#include "layer_files_writer.h"
#include "layer_text_file.h"

#include <optional>
#include <string>

namespace velkaro::gis {

// What the writers that put points on the globe in one text file (GeoJSON, KML) share: the
// file, the grid's projection (the request must hold the grid), the layer's name, and the record
// being built, kept for its capacity.
class GlobeLayerWriter : public LayerFilesWriter {
  protected:
    explicit GlobeLayerWriter(const LayerRequest &request);

    [[nodiscard]] const LayerFiles &files() const override { return m_file.files(); }

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
