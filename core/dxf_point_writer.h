#pragma once

#include "conversion_options.h"
#include "number_rules.h"
#include "point_record.h"

#include <optional>
#include <string>

namespace velkaro {

class OutputStream;

// The DXF POINT entity with the drawing options: the axes, and the two labels beside the point.
// A label is an R12 TEXT entity (layer, insertion point, height, text) whose insertion point is
// the point's, moved half a text height to the right; the name's baseline lies half a height
// above the point, the elevation's one and a half heights below it, so that the two texts keep
// half a height clear of the point and of each other. Both lie at the point's Z.
class DxfPointWriter {
  public:
    DxfPointWriter(DxfAxes axes, const std::optional<DxfLabels> &labels);

    void write(OutputStream &out, const PointRecord &record) const;

  private:
    struct Label {
        std::string_view layer;
        double dx;
        double dy;
    };

    void writeText(OutputStream &out, const Label &label, double x, double y,
                   std::string_view printedZ, std::string_view text) const;

    DxfAxes m_axes;
    std::optional<DxfLabels> m_labels;
    std::string m_printedHeight;
    Label m_nameLabel{};
    Label m_elevationLabel{};
};

} // namespace velkaro
