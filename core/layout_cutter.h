#pragma once

#include "point_record.h"
#include "source_layout.h"

#include <string>
#include <string_view>

namespace velkaro {

// Takes lines of a layout into the current point. Unlike the old tool's reading, every line
// gives the whole point: a field the line lacks is empty, and a code that is empty, missing or
// "NULL" takes the name (CASS's own files write an empty code). Owns the bytes of the point, so
// that the line may go.
class LayoutCutter {
  public:
    explicit LayoutCutter(const SourceLayout &layout) : m_layout(layout) {}

    void apply(std::string_view text);

    [[nodiscard]] const PointRecord &record() const { return m_record; }
    [[nodiscard]] bool holdsAllCoordinates() const;
    [[nodiscard]] bool holdsNoCoordinate() const;

  private:
    const SourceLayout &m_layout;
    std::string m_values[5]; // name, code, x, y, z
    PointRecord m_record;
};

} // namespace velkaro
