#include "grid_check.h"

#include "layout_detection.h"
#include "number_rules.h"

#include <cmath>

namespace velkaro {

void GridCheck::sample(const PointRecord &record) {
    ++m_sampled;
    const GridValue x = gridValueOf(record.x);
    const GridValue y = gridValueOf(record.y);
    if (x == GridValue::Easting && y == GridValue::Northing) {
        ++m_swapped;
    } else if (x == GridValue::Northing && y == GridValue::Easting) {
        ++m_upright;
    }
    if (holdsNumber(record.z) && std::fabs(parseNumber(record.z)) >= 1e5) {
        ++m_largeHeights;
    }
}

bool GridCheck::axesSwapped() const {
    return 2 * m_swapped > m_sampled && m_swapped > m_upright;
}

// No place on earth is 100 km high; a z that large is a coordinate read into the wrong column.
bool GridCheck::heightLikeCoordinate() const {
    return 2 * m_largeHeights > m_sampled;
}

} // namespace velkaro
