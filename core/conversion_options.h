#pragma once

#include "grid_crs.h"
#include "source_layout.h"

#include <optional>

namespace velkaro {

// Which source coordinate lies on the drawing's X axis.
enum class DxfAxes {
    Xy, // the source's x on X and y on Y, as the old tool drew
    En, // east (the source's y) on X and north (the source's x) on Y, as CASS and GIS draw
};

// The columns of a CASS 6.0 line.
enum class CassColumns {
    Code, // "code,,y,x,z", as the old tool wrote them
    Name, // "name,code,y,x,z", as CASS documents its file; the code empty when the source's is NULL
};

// Two TEXT entities beside each DXF point: its name on layer ZDH, its elevation on layer GCD.
struct DxfLabels {
    double height = 1.0;       // text height in drawing units; kMinLabelHeight to kMaxLabelHeight
    int elevationDecimals = 3; // 0 to kMaxElevationDecimals
};

inline constexpr int kMaxElevationDecimals = 6;
// The text heights a DXF can hold: the height is printed with six decimals, so a smaller one
// would be written as 0.000000; a greater one moves the labels out of any survey's extent and,
// near the largest doubles, to infinite positions.
inline constexpr double kMinLabelHeight = 0.000001;
inline constexpr double kMaxLabelHeight = 1000000.0;

// What a conversion does beyond the old tool. A default-constructed value asks for nothing, and
// every output is then the old tool's, byte for byte.
struct ConversionOptions {
    // A Windows code page (936, 950, 1252, ...): the DXF gets a HEADER naming it, so that readers
    // decode the layer names and texts in it. Absent: no HEADER, as the old tool wrote.
    std::optional<int> dxfCodePage;
    DxfAxes dxfAxes = DxfAxes::Xy;
    std::optional<DxfLabels> dxfLabels;
    CassColumns cassColumns = CassColumns::Code;
    // Lines taken whose x, y and z all hold no number (a header row, junk) are not written.
    bool leaveOutLinesWithoutCoordinates = false;
    // Whether the outcome carries a summary; collecting one costs time on every point.
    bool summary = false;
    // How the source's lines are read: the old tool's way unless asked otherwise.
    SourceReading sourceReading;
    // The grid of the points, for the GIS formats only. Absent: a local grid, which GeoJSON and
    // KML cannot put on the globe.
    std::optional<CrsChoice> crs;
};

// Whether every value is in range: a known ANSI code page, a text height from kMinLabelHeight to
// kMaxLabelHeight, elevation decimals from 0 to kMaxElevationDecimals, a grid's EPSG code from
// kFirstGridEpsg to kLastGridEpsg.
[[nodiscard]] bool areValid(const ConversionOptions &options);

// Whether a text height lies from kMinLabelHeight to kMaxLabelHeight (false for NaN).
[[nodiscard]] bool isValidLabelHeight(double height);

// Whether DXF readers know the Windows code page as $DWGCODEPAGE ANSI_<codePage>: the ANSI code
// pages of Windows (874, 932, 936, 949, 950, 1250 to 1258).
[[nodiscard]] bool isKnownDxfCodePage(int codePage);

} // namespace velkaro
