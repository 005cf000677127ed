#pragma once

#include <cstdint>
#include <vector>

namespace velkaro {

// Source lines of one kind: how many, and the first line numbers (1-based). The pieces of a line
// longer than the line buffer count as one line.
struct LineList {
    static constexpr std::size_t kKept = 10;

    std::uint64_t count = 0;
    std::vector<std::uint64_t> first; // at most kKept, ascending
    std::uint64_t last = 0;           // the line counted last

    // Counts lineNumber unless it is the line counted last.
    void note(std::uint64_t lineNumber);
    [[nodiscard]] bool empty() const { return count == 0; }
    friend bool operator==(const LineList &, const LineList &) = default;
};

// What ended the reading.
enum class StopReason : std::uint8_t {
    EndOfFile,     // the whole file was read
    ShortLine,     // a line shorter than 10 bytes, the old tool's rule
    ZeroByte,      // a zero byte made a line shorter than 10 bytes
    EndOfFileByte, // a byte 0x1A, which ends a text file for the old tool
};

// How the reading went, for the user who must know what was not converted as it looked.
struct ReadingReport {
    // Source lines read, up to and including the one reading stopped at.
    std::uint64_t linesRead = 0;
    // Lines, or 255-byte pieces of longer ones, taken as points (also those left out).
    std::uint64_t piecesTaken = 0;
    StopReason stop = StopReason::EndOfFile;
    // 1-based line at which reading stopped early, when the rest of the file held anything but
    // blank lines (a zero byte always counts); 0 when nothing worth a word was left unread.
    std::uint64_t stoppedAtLine = 0;
    // Lines after stoppedAtLine that hold anything but blanks: never read as points.
    std::uint64_t linesNotConverted = 0;
    // Lines longer than the line buffer, each taken in pieces as if it were several lines.
    LineList longLines;
    // Lines taken as points although the x, y or z they leave in the record holds no number (a
    // header row, binary junk): written all the same, as the old tool did.
    LineList withoutCoordinates;
    // Lines with too few fields to replace the name, code, x, y and z: the members they lack were
    // written with the point before's values, as the old tool did.
    LineList carriedOver;
    // Lines left out because x, y and z all held no number, when the options ask for that (and
    // then not counted above).
    LineList leftOut;
    // Lines taken whose text a zero byte cut short: the bytes after it were ignored.
    LineList zeroBytes;
    // Lines whose name or code held a character the outputs' code page cannot hold (written as
    // "?"), when the source is read as UTF-8.
    LineList unrepresentable;
    // GIS outputs: lines whose name or code was cut to fit a fixed-width field (a Shapefile's).
    LineList shortenedTexts;
    // Most of the first points have x like an easting and y like a northing: the axes look
    // swapped. Most of their heights are as large as coordinates.
    bool axesSwapped = false;
    bool heightLikeCoordinate = false;
    // The source is plainly no text export: it holds zero bytes, or most lines taken have no
    // coordinates.
    bool notText = false;

    friend bool operator==(const ReadingReport &, const ReadingReport &) = default;
};

} // namespace velkaro
