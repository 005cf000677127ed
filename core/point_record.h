#pragma once

#include <cstddef>
#include <string_view>

namespace velkaro {

class SourceStream;

// The values of the current point, kept across lines: a line replaces only the members whose
// fields it holds (see LineCutter, which also owns the bytes). All values are the exact bytes
// found between delimiters, never parsed; they never hold a line feed, one of the delimiters, so
// writers copy them as they are. An empty value still points somewhere, for memcpy.
struct PointRecord {
    std::string_view pointName = "";
    std::string_view pointCode = "";
    std::string_view x = "";
    std::string_view y = "";
    std::string_view z = "";
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

} // namespace velkaro
