#pragma once

#include "layout_detection.h"

#include <string_view>
#include <vector>

namespace velkaro {

// The layout the values of a source's lines give when no header row names the columns. rows:
// the lines that have the usual number of fields, cut by the separator found, at least one.
//
// One column of northings and one of eastings (gridValueOf, for most values) are x and y. z is
// the first other number column after them; without one, the single column of decimal numbers
// before them (a column of whole numbers there is a point number, a name). The fields before the
// coordinates are positional: the first is the name, the next the code, an empty one counting;
// after the coordinates, a text column is the code when a name stood before them, or with none
// before, the name and then the code. Whatever may be read two ways is refused: no column or
// several of northings or eastings, several numbers that may be z, more fields before the
// coordinates than a name and a code. The layout's separator and header row are left as they
// are; the caller knows them.
[[nodiscard]] LayoutDetection
rolesFromValues(const std::vector<std::vector<std::string_view>> &rows);

} // namespace velkaro
