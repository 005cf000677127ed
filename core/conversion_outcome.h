#pragma once

#include "conversion_summary.h"
#include "grid_crs.h"
#include "layout_detection.h"
#include "reading_report.h"
#include "system_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaro {

// What one conversion run did, as facts: the front ends word them (the core holds no sentence).
struct ConversionOutcome {
    enum class Kind {
        NoSource,           // no source path was given
        NoFormat,           // no format was chosen
        SourceOpenFailed,   // the source could not be opened; failure says why
        Converted,          // the output is in place; reading says what was left out
        OutputCreateFailed, // the output could not be created; nothing was left behind
        OutputWriteFailed,  // writing or closing failed; an earlier output is untouched
        SourceReadFailed,   // reading failed part way; no output, an earlier one is untouched
        OutputIsSource,     // the output is a source of the run (conflictingSource), maybe its own
        DuplicateOutput,    // an earlier source of the run (conflictingSource) writes this output
        SourceChanged,      // the source changed while it was read; no output committed
        OutOfMemory,        // memory ran out; no output committed
        InvalidOptions,     // an option out of range (see areValid); nothing was touched
        Unexpected,         // an error the core does not know; no output committed
        Cancelled,          // stopped on request; an earlier output is untouched
        LayoutUndecided,    // the first lines decided no layout (layoutFailure); nothing written
        GisUnavailable,     // this program has no writers for the GIS formats
        CrsNeeded,          // GeoJSON or KML without a grid: a local grid is nowhere on the globe
        CrsUndecided,       // auto: the first point (crsLine, 0 for none) names no zone
        OutsideCrs,         // the point of crsLine lies outside the grid; nothing written
    };

    // There is no outcome without a kind.
    explicit ConversionOutcome(Kind outcomeKind) : kind(outcomeKind) {}

    Kind kind;
    std::string sourcePath;
    std::string outputFileName; // the bare name; empty before it is built
    std::string outputPath;     // the output folder of the request joined with that name
    // The other source of the run that OutputIsSource and DuplicateOutput are about.
    std::string conflictingSource;
    // Converted with ConversionRequest::folderSyncLater: the folder whose new entry is not on the
    // disk yet. Empty otherwise.
    std::optional<std::string> folderToSync;
    std::uint64_t pointsWritten = 0;
    ReadingReport reading;
    // Only when the options ask for it.
    std::optional<ConversionSummary> summary;
    // For the failures that touch a file: which file, why, and the system's error.
    std::optional<FileFailure> failure;
    // How the source was read, when not the old tool's way: the layout (given, or found) and the
    // encoding of its text; with LayoutUndecided why none was found. oldLayoutFound: auto found
    // the old tool's layout and read it the old way (layout is then nullopt).
    std::optional<SourceLayout> layout;
    bool oldLayoutFound = false;
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure layoutFailure = DetectionFailure::None;
    // The GIS formats: the grid the points were written in (none: a local grid, which the
    // output does not name), and the line CrsUndecided and OutsideCrs are about.
    std::optional<GridCrs> crs;
    bool gisFormat = false;
    std::uint64_t crsLine = 0;
};

// What a converted outcome has to warn about, in the order a user should read it.
enum class WarningKind : std::uint8_t {
    NoPoints,                // nothing was written: an empty source, or blank lines only
    StoppedAtShortLine,      // reading.stoppedAtLine, linesNotConverted
    StoppedAtZeroByte,       // the same, cut short by a zero byte
    StoppedAtEndOfFileByte,  // the same, ended by a byte 0x1A
    ZeroBytesInLines,        // reading.zeroBytes
    NotText,                 // reading.notText
    LinesWithoutCoordinates, // reading.withoutCoordinates
    LinesLeftOut,            // reading.leftOut
    LongLines,               // reading.longLines
    AxesSwapped,             // reading.axesSwapped
    HeightLikeCoordinate,    // reading.heightLikeCoordinate
    Unrepresentable,         // reading.unrepresentable
    WithoutCrs,              // a GIS output that names no coordinate reference system
    TextsShortened,          // reading.shortenedTexts
    FieldsCarriedOver,       // reading.carriedOver
};

// Every warning that applies to outcome; empty for a failure.
[[nodiscard]] std::vector<WarningKind> warningsOf(const ConversionOutcome &outcome);

} // namespace velkaro
