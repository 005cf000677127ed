#pragma once

#include "conversion_options.h"
#include "conversion_summary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

enum class TargetFormat { Cass = 1, Kaisi = 2, Cad = 3 };

// The format list's texts, in list order; runConversion compares with them exactly.
inline constexpr std::string_view kCassItemText = "CASS6.0格式";
inline constexpr std::string_view kKaisiItemText = "开思格式";
inline constexpr std::string_view kCadItemText = "CAD格式";

// What the user interface hands to one conversion run. Paths and names are the file system's
// bytes, never decoded.
struct ConversionRequest {
    std::string sourcePath;                    // empty: nothing chosen yet
    std::string sourceFileName;                // names the output only
    std::optional<std::string> formatItemText; // absent: no list item selected
    // Where the output is created. Empty: the process's current directory, where the window's
    // browse command leaves the chosen file's folder.
    std::string outputFolder;
    // What the run does beyond the old tool; the default asks for nothing.
    ConversionOptions options;
};

struct ConversionOutcome {
    enum class Kind {
        NoSource,
        NoFormat,
        SourceOpenFailed,
        Converted,
        OutputCreateFailed, // the output could not be created; nothing was left behind
        OutputWriteFailed,  // writing or closing failed; an earlier output is untouched
        SourceReadFailed,   // reading failed part way; no output, an earlier one is untouched
        OutputIsSource,     // the output of this conversion is a source of the same run
        DuplicateOutput,    // an earlier source of the same run writes this output
        SourceChanged,      // the source changed while it was read; no output committed
        OutOfMemory,        // memory ran out; no output committed
        InvalidOptions,     // an option out of range (see areValid); nothing was touched
    };

    Kind kind = Kind::NoSource;
    std::string outputFileName; // the bare name, without a folder; empty before it is built
    std::string outputPath;     // the output folder of the request joined with that name
    std::string message;        // the text the user interface shows
    std::uint64_t pointsWritten = 0;
    // 1-based number of the line shorter than 10 bytes at which reading stopped, when the file
    // held anything but blank lines from there on; 0 when reading ran to the end of the file.
    std::uint64_t stoppedAtLine = 0;
    // Lines longer than the line buffer, each taken in pieces as if it were several lines, and
    // the 1-based number of the first of them (0 when there was none).
    std::uint64_t longLines = 0;
    std::uint64_t firstLongLine = 0;
    // Lines after stoppedAtLine that hold anything but blanks: never read as points.
    std::uint64_t linesNotConverted = 0;
    // Lines taken as points although the x, y or z they leave in the record holds no number (a
    // header row, binary junk, another program's output): written all the same, as the old tool
    // did, and counted so that the user hears of them. The first line numbers (1-based) are kept.
    std::uint64_t linesWithoutCoordinates = 0;
    std::vector<std::uint64_t> firstLinesWithoutCoordinates; // at most kLinesWithoutCoordinatesKept
    // Lines left out because their x, y and z all held no number, when the options ask for that
    // (and then not counted above); the first line numbers are kept the same way.
    std::uint64_t linesLeftOut = 0;
    std::vector<std::uint64_t> firstLinesLeftOut;
    // Only when the options ask for it.
    std::optional<ConversionSummary> summary;
};

inline constexpr std::size_t kLinesWithoutCoordinatesKept = 10;

// Chooses the format by the exact list text; nullopt for any other text.
[[nodiscard]] std::optional<TargetFormat> targetFormatFromItemText(std::string_view itemText);

// The stem (first run of bytes without '.', after leading dots), the format's suffix and its
// extension: pts.txt gives ptsCass.dat, ptsKaisi.txt, ptsCAD.dxf. Never fails.
[[nodiscard]] std::string makeOutputFileName(std::string_view sourceFileName, TargetFormat format);

// NoSource, NoFormat or InvalidOptions when the request cannot run at all (in that order of
// precedence), nullopt when it can. Touches no file.
[[nodiscard]] std::optional<ConversionOutcome> checkRequest(const ConversionRequest &request);

// One whole conversion. Checks the request before touching the file system (NoSource before
// NoFormat), opens the source, writes the output into a temporary file beside its final name and
// moves it there only after everything was written, flushed to the disk and closed, and only
// when the source did not change while it was read. Never throws: running out of memory is the
// outcome OutOfMemory.
[[nodiscard]] ConversionOutcome runConversion(const ConversionRequest &request) noexcept;

} // namespace velkaro
