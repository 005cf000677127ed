#pragma once

#include "code_groups.h"
#include "globe_layer_writer.h"

namespace velkaro::gis {

// KML 2.2: a Document named after the layer holding one Folder per code (in the order the codes
// first appear), each with one Placemark per point of that code in the order of the source: its
// name, a description giving its code and elevation, and a Point at longitude, latitude and
// height in WGS 84 (the grid's CGCS2000 places taken as such). As in the summary, the codes after
// the first kMaxSummaryCodes distinct ones share one last Folder, named as the summary names
// them; their placemarks still give each point's own name and code.
//
// The altitude mode is absolute: a survey's z is an elevation above the height datum's sea
// level, which is what KML's absolute means (height above sea level); the default,
// clampToGround, would drop it and put each point on the viewer's terrain model instead.
//
// A point whose place or height is no finite number keeps its placemark, without a Point.
// The placemarks wait in CodeGroups until finish(), since a folder's points may come last; see
// there for the memory that takes.
class KmlWriter final : public GlobeLayerWriter {
  public:
    // request.crs must hold the grid: the points are placed on the globe.
    explicit KmlWriter(const LayerRequest &request) : GlobeLayerWriter(request) {}

    [[nodiscard]] bool create() override;
    [[nodiscard]] PointWritten add(const LayerPoint &point) override;
    [[nodiscard]] bool finish(FolderSync sync) override;

  private:
    void appendPoint(const LayerPoint &point);
    [[nodiscard]] bool writeFolders();

    CodeGroups m_groups;
};

} // namespace velkaro::gis
