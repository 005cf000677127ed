#pragma once

#include "point_layer_writer.h"

namespace velkaro::gis {

// The writers of the GIS formats; every program that offers them installs these once at start-up:
// usePointLayerWriters(&gis::layerWriters()).
class LayerWriters final : public PointLayerWriters {
  public:
    [[nodiscard]] std::unique_ptr<PointLayerWriter>
    writerFor(const LayerRequest &request) const override;
};

// The one instance, alive for the whole process.
[[nodiscard]] const LayerWriters &layerWriters();

} // namespace velkaro::gis
