#pragma once

#include "source_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// Why the first lines did not decide a layout.
enum class DetectionFailure : std::uint8_t {
    None,
    NoLines,         // nothing but blank lines
    NoSeparator,     // no separator cuts the lines into the same number of fields
    NoCoordinates,   // no header names the columns, and no column looks like a northing and
                     // another like an easting of a Chinese projected grid
    Ambiguous,       // several columns look like northings or like eastings
    AmbiguousHeight, // several number columns besides x and y may be z
    UnclearTexts,    // more fields before the coordinates than a name and a code
};

// A layout found, or why none was. oldLayout: the lines read right the old tool's way, which is
// then the reading (layout stays nullopt), so that its own exports give its bytes exactly.
struct LayoutDetection {
    std::optional<SourceLayout> layout;
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure failure = DetectionFailure::None;
    bool oldLayout = false;
};

// Lines read to decide a layout: enough for a header row and a sample of points, few enough to
// read at once.
inline constexpr std::size_t kDetectionLines = 20;
inline constexpr std::size_t kDetectionBytes = 64 * 1024;
// The fewest fields a line of points has for auto: a name or a code, and the two coordinates.
inline constexpr std::size_t kDetectionFields = 3;

// Decides the layout from the first bytes of a source. A header row whose words name the columns
// (Name/Pt/Point, Code/Desc, N/X/Northing, E/Y/Easting, H/Z/Elevation and the usual Chinese
// titles, in UTF-8 or GBK) gives the layout. Without one, lines whose fields 5, 6 and 7, cut the
// old tool's way, are a northing, an easting and a number are its own export: oldLayout.
// Otherwise the values decide (rolesFromValues): northings have 7 integer digits, eastings 6, or
// 8 with a zone number of 13 to 45 in front. The separator is the one that cuts most lines into
// the same number of fields: comma, tab, semicolon, or runs of spaces. UTF-8 with a byte-order
// mark, or valid UTF-8 with characters beyond ASCII, is read as UTF-8. When the lines do not
// decide, nothing is guessed.
[[nodiscard]] LayoutDetection detectLayout(std::string_view head);

// What a value looks like as a coordinate of a Chinese projected grid (CGCS2000 Gauss-Kruger).
enum class GridValue : std::uint8_t { None, Northing, Easting, Other };
[[nodiscard]] GridValue gridValueOf(std::string_view field);

} // namespace velkaro
