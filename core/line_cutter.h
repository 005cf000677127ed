#pragma once

#include "point_record.h"
#include "source_stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro {

// The field boundaries that matter are a start and an end for each of the fields 0 to 6; the
// array for them has room for the 64 that one step may find beyond those.
inline constexpr std::size_t kFieldBounds = 14;
inline constexpr std::size_t kFieldBoundsRoom = kFieldBounds + 64;

// Where the fields of text lie, at least the first seven: text cut at runs of ',' and '\t' (the
// strtok rule; the line feed, the third delimiter, is never inside a line's text), so empty
// fields do not count. Field k is [bounds[2k], bounds[2k+1]); returns the number of bounds found,
// even, at least kFieldBounds when there are seven fields. Reads up to kLineScanSlack bytes past
// the end of text, ignoring them.
[[nodiscard]] std::size_t cutFields(std::string_view text,
                                    std::uint16_t (&bounds)[kFieldBoundsRoom]);

// Takes lines into the current point: fields 2 to 6 replace the name, code, x, y and z; field 3
// equal to "NULL" takes the name. The values are views of the line where it lies in the source's
// buffers, so the usual line costs no copy. A value that a line does not replace is copied into
// the cutter's own storage while that line is taken, which relies on SourceStream::nextLine's
// promise that the line before is still unchanged then.
class LineCutter {
  public:
    void apply(const SourceLine &line);

    [[nodiscard]] const PointRecord &record() const { return m_record; }
    // Whether each of x, y and z holds a number by holdsNumber, worked out as it was cut.
    [[nodiscard]] bool holdsAllCoordinates() const { return m_numbers == kAllNumbers; }
    [[nodiscard]] bool holdsNoCoordinate() const { return m_numbers == 0; }
    // Whether the line just taken had too few fields to replace every member, so that the record
    // still holds some from the point before (empty for the first line), as the old tool wrote.
    [[nodiscard]] bool carriesEarlierValues() const { return m_owned != 0; }

  private:
    static constexpr unsigned kAllNumbers = 7;
    static constexpr std::size_t kMembers = 5;

    void takeAll(std::string_view text, const std::uint16_t (&bounds)[kFieldBoundsRoom]);
    void take(std::size_t member, std::string_view field);
    void keep(std::size_t member);

    PointRecord m_record;
    std::string m_kept[kMembers];
    unsigned m_owned = 0;   // bit i: member i lies in m_kept[i]
    unsigned m_numbers = 0; // bit i: coordinate i (x, y, z) holds a number
};

} // namespace velkaro
