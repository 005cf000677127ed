#pragma once

#include "point_record.h"

#include <cstddef>

namespace velkaro {

// Looks at the first points of a run for signs that the columns were read wrongly, whatever the
// layout: x like an easting and y like a northing of a Chinese projected grid for most points
// (the axes swapped), or z as large as a coordinate. Only the first kSampled points are looked
// at, so that it costs nothing on the rest of a large file.
class GridCheck {
  public:
    static constexpr std::size_t kSampled = 1024;

    void addPoint(const PointRecord &record) {
        if (m_sampled < kSampled) {
            sample(record);
        }
    }
    [[nodiscard]] bool axesSwapped() const;
    [[nodiscard]] bool heightLikeCoordinate() const;

  private:
    void sample(const PointRecord &record);

    std::size_t m_sampled = 0;
    std::size_t m_swapped = 0;
    std::size_t m_upright = 0;
    std::size_t m_largeHeights = 0;
};

} // namespace velkaro
