#pragma once

#include <algorithm>
#include <limits>

namespace velkaro::gis {

// The box around a layer's points in the GIS axes: x the east, y the north, z the height, as
// the formats' headers want it after the last point.
class LayerExtent {
  public:
    void include(double east, double north, double height) {
        m_minX = std::min(m_minX, east);
        m_maxX = std::max(m_maxX, east);
        m_minY = std::min(m_minY, north);
        m_maxY = std::max(m_maxY, north);
        m_minZ = std::min(m_minZ, height);
        m_maxZ = std::max(m_maxZ, height);
        m_empty = false;
    }

    [[nodiscard]] bool empty() const { return m_empty; }
    // The bounds; 0 for a layer without points, as Shapefile readers expect.
    [[nodiscard]] double minX() const { return m_empty ? 0.0 : m_minX; }
    [[nodiscard]] double maxX() const { return m_empty ? 0.0 : m_maxX; }
    [[nodiscard]] double minY() const { return m_empty ? 0.0 : m_minY; }
    [[nodiscard]] double maxY() const { return m_empty ? 0.0 : m_maxY; }
    [[nodiscard]] double minZ() const { return m_empty ? 0.0 : m_minZ; }
    [[nodiscard]] double maxZ() const { return m_empty ? 0.0 : m_maxZ; }

  private:
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();
    double m_minX = kInfinity;
    double m_maxX = -kInfinity;
    double m_minY = kInfinity;
    double m_maxY = -kInfinity;
    double m_minZ = kInfinity;
    double m_maxZ = -kInfinity;
    bool m_empty = true;
};

} // namespace velkaro::gis
