#pragma once

#include <cstddef>
#include <string>

namespace velkaro {

class SourceStream;

// The values of the current point, kept across lines: a line replaces only the members whose
// fields it holds. All values are the exact bytes found between delimiters, never parsed.
struct PointRecord {
    std::string pointName;
    std::string pointCode;
    std::string x;
    std::string y;
    std::string z;
    // Whether pointCode holds the name because the source's code field said "NULL": CASS's own
    // column order leaves such a code empty.
    bool codeWasNull = false;
};

// One read stores at most this many bytes of the file, then a terminating zero byte.
inline constexpr std::size_t kLineBufferSize = 256;
// A line whose stored text is shorter than this ends the reading.
inline constexpr std::size_t kMinimumLineLength = 10;

// Reads up to and including the next line feed, at most kLineBufferSize - 1 bytes after the
// text-mode translation, and terminates them with a zero byte. Returns how many bytes were
// stored, zero bytes inside the line included; 0 when nothing could be read (end of file, byte
// 0x1A, or a read error); bytes stored before an error still count.
[[nodiscard]] std::size_t readSourceLine(SourceStream &stream, char (&buffer)[kLineBufferSize]);

// Whether the stored text, up to its first zero byte (a zero byte inside a line ends it), has
// at least kMinimumLineLength bytes. Looks at those first bytes only, not the whole line.
[[nodiscard]] bool reachesMinimumLength(const char (&buffer)[kLineBufferSize]);

// Cuts the text into fields at runs of ',', '\t' and '\n' (the strtok rule: empty fields do not
// count) and updates the members of positions 2 to 6. Field 3 equal to "NULL" takes the name.
// The whole buffer may be read, also past its terminating zero byte, so all of it must be
// initialised.
void applyLineToRecord(const char (&buffer)[kLineBufferSize], PointRecord &record);

} // namespace velkaro
