#pragma once

#include "grid_crs.h"
#include "point_layer_writer.h"
#include "point_record.h"
#include "source_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

// Why a GIS run could not place its points, found before or while they are written.
enum class CrsFailure : std::uint8_t {
    None,
    Needed,      // a format on the globe (GeoJSON, KML) and no grid was given
    Undecided,   // auto: the first point's easting names no zone (or no point was found)
    OutsideGrid, // a point's easting does not lie in the grid (another zone, or no zone in front)
};

// The grid that --crs auto finds in the first bytes of a source: the zone in front of the
// easting of the first line whose coordinates are all numbers, read by the layout (or the old
// tool's fields 2 to 6 without one); line tells which line that was, 0 when none was found.
struct GridDetection {
    std::optional<GridCrs> grid;
    std::uint64_t line = 0;
};
[[nodiscard]] GridDetection detectGrid(std::string_view head,
                                       const std::optional<SourceLayout> &layout);

// Hands the points that the reading loops take to a PointLayerWriter: their texts decoded into
// UTF-8, their coordinates as numbers. A point whose x, y or z holds no number cannot be placed
// and is not written (the caller counts it left out); the first point outside the grid stops
// the feed, and every point after it is ignored, so that no output puts it in the wrong place.
class LayerFeed {
  public:
    LayerFeed(PointLayerWriter &writer, std::optional<GridCrs> grid, bool utf8Source);

    // Whether the point was written; false for a point that cannot be placed or after a stop.
    [[nodiscard]] bool take(const PointRecord &record, bool allNumbers, std::uint64_t line);

    [[nodiscard]] CrsFailure failure() const { return m_failure; }
    [[nodiscard]] std::uint64_t failedLine() const { return m_failedLine; }
    // Whether the last point's name or code had to be shortened to fit the format.
    [[nodiscard]] bool shortenedText() const { return m_shortened; }
    // Whether the last point's name or code held bytes that are no character of the source's
    // encoding (each became U+FFFD).
    [[nodiscard]] bool lostCharacters() const { return m_lost; }

  private:
    void decode(std::string_view bytes, std::string &out);

    PointLayerWriter &m_writer;
    std::optional<GridCrs> m_grid;
    bool m_utf8;
    std::string m_name;
    std::string m_code;
    CrsFailure m_failure = CrsFailure::None;
    std::uint64_t m_failedLine = 0;
    bool m_lost = false;
    bool m_shortened = false;
};

} // namespace velkaro
