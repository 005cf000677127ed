#pragma once

#include "point_record.h"
#include "source_layout.h"
#include "text_recoder.h"

#include <string>
#include <string_view>

namespace velkaro {

// Takes lines of a layout into the current point. Unlike the old tool's reading, every line
// gives the whole point: a field the line lacks is empty, and a code that is empty, missing or
// "NULL" takes the name (CASS's own files write an empty code). Owns the bytes of the point, so
// that the line may go. With a recoder, names and codes are turned from UTF-8 into the outputs'
// code page.
class LayoutCutter {
  public:
    LayoutCutter(const SourceLayout &layout, TextRecoder *recoder);

    void apply(std::string_view text);

    [[nodiscard]] const PointRecord &record() const { return m_record; }
    [[nodiscard]] bool holdsAllCoordinates() const;
    [[nodiscard]] bool holdsNoCoordinate() const;
    // Whether a character of the last line's name or code had no place in the code page.
    [[nodiscard]] bool lostCharacters() const { return m_lost; }

  private:
    void takeText(std::string &value, std::string_view field);

    const SourceLayout &m_layout;
    TextRecoder *m_recoder;
    std::string m_values[5]; // name, code, x, y, z
    PointRecord m_record;
    bool m_lost = false;
};

} // namespace velkaro
