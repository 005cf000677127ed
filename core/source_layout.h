#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// What a field of a source line holds.
enum class FieldRole : std::uint8_t { Skip, Name, Code, X, Y, Z };

// What separates the fields of a layout. Comma or tab and semicolon separate one field from the
// next, so an empty field counts; runs of spaces (and tabs) count as one separator.
enum class FieldSeparator : std::uint8_t { CommaOrTab, Semicolon, Spaces };

// How the text of names and codes is encoded in the source.
enum class SourceEncoding : std::uint8_t {
    Bytes, // copied as they are: the outputs' code page already (GBK from Chinese Windows)
    Utf8,  // converted to the outputs' code page; a character it cannot hold is reported
};

// The fields of a source line by position, beyond the old tool's one reading.
struct SourceLayout {
    std::vector<FieldRole> roles;
    FieldSeparator separator = FieldSeparator::CommaOrTab;
    bool headerRow = false; // the first line that holds anything names the columns
    friend bool operator==(const SourceLayout &, const SourceLayout &) = default;
};

// How a run reads its source. The default is the old tool's reading, byte for byte.
struct SourceReading {
    enum class Mode : std::uint8_t {
        Rtk,    // fields 2 to 6 cut the strtok way, short lines end the reading
        Layout, // the roles given, cut at the separator found in the first lines
        Auto,   // the layout (or the old tool's) and the encoding found in the first lines
    };
    Mode mode = Mode::Rtk;
    SourceLayout layout; // with Mode::Layout: its roles
    // nullopt: Bytes, or what is found (auto; a byte-order mark with a layout given)
    std::optional<SourceEncoding> encoding;
    friend bool operator==(const SourceReading &, const SourceReading &) = default;
};

// The roles of a layout as the converter's option writes them: "name,code,y,x,z", "-" for a
// field that is skipped. Nullopt for anything else, and for a list without x and y or with a role
// other than Skip twice.
[[nodiscard]] std::optional<std::vector<FieldRole>> parseRoles(std::string_view text);
[[nodiscard]] std::string rolesText(const std::vector<FieldRole> &roles);

// The named layouts: "cass" (name,code,y,x,z, CASS's documented .dat), "pnezd"
// (name,x,y,z,code: point, north, east, elevation, code) and "penzd" (name,y,x,z,code).
[[nodiscard]] std::optional<std::vector<FieldRole>> presetRoles(std::string_view name);

} // namespace velkaro
