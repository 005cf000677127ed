#include "layout_detection.h"

#include "layout_fields.h"
#include "number_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velkaro {
namespace {

using Fields = std::vector<std::string_view>;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

[[nodiscard]] bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The first lines that hold anything, without their line ends.
[[nodiscard]] std::vector<std::string_view> firstLines(std::string_view head) {
    std::vector<std::string_view> lines;
    while (!head.empty() && lines.size() < kDetectionLines) {
        const std::size_t end = std::min(head.find('\n'), head.size());
        if (!isBlank(head.substr(0, end))) {
            lines.push_back(head.substr(0, end));
        }
        head.remove_prefix(std::min(end + 1, head.size()));
    }
    return lines;
}

// Whether text is valid UTF-8 holding at least one character beyond ASCII (a sequence cut at
// the end of the head counts as valid).
[[nodiscard]] bool isUtf8Beyond(std::string_view text) {
    bool beyond = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0x80 && (lead < 0xC2 || lead > 0xF4)) {
            return false;
        }
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        beyond = beyond || length > 1;
        i += length;
    }
    return beyond;
}

// The number of fields most lines have when cut by separator, when at least half of them have
// it and it is at least three (a point's code may be missing at the end of a line); 0 otherwise.
[[nodiscard]] std::size_t usualFieldCount(const std::vector<std::string_view> &lines,
                                          FieldSeparator separator) {
    std::vector<std::size_t> counts;
    for (const std::string_view line : lines) {
        counts.push_back(cutByLayout(line, separator).size());
    }
    std::size_t best = 0;
    std::size_t bestLines = 0;
    for (const std::size_t count : counts) {
        const auto lines =
            static_cast<std::size_t>(std::count(counts.begin(), counts.end(), count));
        if (lines > bestLines || (lines == bestLines && count > best)) {
            best = count;
            bestLines = lines;
        }
    }
    return best >= 3 && 2 * bestLines >= counts.size() ? best : 0;
}

// The first separator that cuts the lines into a usual number of fields.
[[nodiscard]] std::optional<FieldSeparator>
separatorOf(const std::vector<std::string_view> &lines) {
    for (const FieldSeparator separator :
         {FieldSeparator::CommaOrTab, FieldSeparator::Semicolon, FieldSeparator::Spaces}) {
        if (usualFieldCount(lines, separator) != 0) {
            return separator;
        }
    }
    return std::nullopt;
}

[[nodiscard]] std::string lowerAscii(std::string_view word) {
    std::string lower(word);
    for (char &c : lower) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return lower;
}

struct HeaderWord {
    std::string_view word; // lower case
    FieldRole role;
};

// The usual column titles of field software and of surveyors' own files, lower case. The Chinese
// titles stand in both encodings a source may have, UTF-8 and GBK, as bytes.
constexpr std::array<HeaderWord, 57> kHeaderWords = {{
    {"name", FieldRole::Name},
    {"pt", FieldRole::Name},
    {"point", FieldRole::Name},
    {"pointname", FieldRole::Name},
    {"id", FieldRole::Name},
    {"code", FieldRole::Code},
    {"desc", FieldRole::Code},
    {"description", FieldRole::Code},
    {"n", FieldRole::X},
    {"x", FieldRole::X},
    {"northing", FieldRole::X},
    {"north", FieldRole::X},
    {"x(m)", FieldRole::X},
    {"e", FieldRole::Y},
    {"y", FieldRole::Y},
    {"easting", FieldRole::Y},
    {"east", FieldRole::Y},
    {"y(m)", FieldRole::Y},
    {"h", FieldRole::Z},
    {"z", FieldRole::Z},
    {"elevation", FieldRole::Z},
    {"height", FieldRole::Z},
    {"elev", FieldRole::Z},
    {"h(m)", FieldRole::Z},
    {"z(m)", FieldRole::Z},
    {"\xE7\x82\xB9\xE5\x90\x8D", FieldRole::Name},             // dian ming, point name (UTF-8)
    {"\xB5\xE3\xC3\xFB", FieldRole::Name},                     // dian ming, point name (GBK)
    {"\xE7\x82\xB9\xE5\x8F\xB7", FieldRole::Name},             // dian hao, point number (UTF-8)
    {"\xB5\xE3\xBA\xC5", FieldRole::Name},                     // dian hao, point number (GBK)
    {"\xE5\x90\x8D\xE7\xA7\xB0", FieldRole::Name},             // ming cheng, name (UTF-8)
    {"\xC3\xFB\xB3\xC6", FieldRole::Name},                     // ming cheng, name (GBK)
    {"\xE7\x82\xB9\xE5\x90\x8D\xE7\xA7\xB0", FieldRole::Name}, // point name (UTF-8)
    {"\xB5\xE3\xC3\xFB\xB3\xC6", FieldRole::Name},             // point name (GBK)
    {"\xE7\xBC\x96\xE5\x8F\xB7", FieldRole::Name},             // bian hao, number (UTF-8)
    {"\xB1\xE0\xBA\xC5", FieldRole::Name},                     // bian hao, number (GBK)
    {"\xE7\xBC\x96\xE7\xA0\x81", FieldRole::Code},             // bian ma, code (UTF-8)
    {"\xB1\xE0\xC2\xEB", FieldRole::Code},                     // bian ma, code (GBK)
    {"\xE4\xBB\xA3\xE7\xA0\x81", FieldRole::Code},             // dai ma, code (UTF-8)
    {"\xB4\xFA\xC2\xEB", FieldRole::Code},                     // dai ma, code (GBK)
    {"\xE5\xB1\x9E\xE6\x80\xA7", FieldRole::Code},             // shu xing, attribute (UTF-8)
    {"\xCA\xF4\xD0\xD4", FieldRole::Code},                     // shu xing, attribute (GBK)
    {"\xE5\x8C\x97", FieldRole::X},                            // bei, north (UTF-8)
    {"\xB1\xB1", FieldRole::X},                                // bei, north (GBK)
    {"\xE5\x8C\x97\xE5\x9D\x90\xE6\xA0\x87", FieldRole::X},    // north coordinate (UTF-8)
    {"\xB1\xB1\xD7\xF8\xB1\xEA", FieldRole::X},                // north coordinate (GBK)
    {"x\xE5\x9D\x90\xE6\xA0\x87", FieldRole::X},               // x coordinate (UTF-8)
    {"x\xD7\xF8\xB1\xEA", FieldRole::X},                       // x coordinate (GBK)
    {"\xE4\xB8\x9C", FieldRole::Y},                            // dong, east (UTF-8)
    {"\xB6\xAB", FieldRole::Y},                                // dong, east (GBK)
    {"\xE4\xB8\x9C\xE5\x9D\x90\xE6\xA0\x87", FieldRole::Y},    // east coordinate (UTF-8)
    {"\xB6\xAB\xD7\xF8\xB1\xEA", FieldRole::Y},                // east coordinate (GBK)
    {"y\xE5\x9D\x90\xE6\xA0\x87", FieldRole::Y},               // y coordinate (UTF-8)
    {"y\xD7\xF8\xB1\xEA", FieldRole::Y},                       // y coordinate (GBK)
    {"\xE9\xAB\x98\xE7\xA8\x8B", FieldRole::Z},                // gao cheng, elevation (UTF-8)
    {"\xB8\xDF\xB3\xCC", FieldRole::Z},                        // gao cheng, elevation (GBK)
    {"\xE9\xAB\x98", FieldRole::Z},                            // gao, height (UTF-8)
    {"\xB8\xDF", FieldRole::Z},                                // gao, height (GBK)
}};

[[nodiscard]] std::optional<FieldRole> headerRoleOf(std::string_view field) {
    const std::string word = lowerAscii(field);
    for (const HeaderWord &entry : kHeaderWords) {
        if (entry.word == word) {
            return entry.role;
        }
    }
    return std::nullopt;
}

// The layout a header row names; nullopt when it does not name x and y once each.
[[nodiscard]] std::optional<std::vector<FieldRole>> headerRoles(const Fields &fields) {
    std::vector<FieldRole> roles;
    for (const std::string_view field : fields) {
        FieldRole role = headerRoleOf(field).value_or(FieldRole::Skip);
        if (role != FieldRole::Skip && std::find(roles.begin(), roles.end(), role) != roles.end()) {
            role = FieldRole::Skip; // a second column of one role is not read
        }
        roles.push_back(role);
    }
    const auto has = [&roles](FieldRole role) {
        return std::find(roles.begin(), roles.end(), role) != roles.end();
    };
    return has(FieldRole::X) && has(FieldRole::Y) ? std::optional(roles) : std::nullopt;
}

} // namespace

GridValue gridValueOf(std::string_view field) {
    if (!holdsNumber(field)) {
        return GridValue::None;
    }
    const double value = parseNumber(field);
    if (value >= 1e6 && value < 1e7) {
        return GridValue::Northing;
    }
    const bool zoned = value >= 13e6 && value < 46e6;
    return (value >= 1e5 && value < 1e6) || zoned ? GridValue::Easting : GridValue::Other;
}

namespace {

// What most values of a column look like; None when the column is mostly not numbers.
[[nodiscard]] GridValue columnKind(const std::vector<Fields> &rows, std::size_t column) {
    std::array<std::size_t, 4> counts{};
    for (const Fields &row : rows) {
        ++counts[static_cast<std::size_t>(gridValueOf(row[column]))];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return 2 * *most > rows.size() ? static_cast<GridValue>(most - counts.begin())
                                   : GridValue::None;
}

// The layout the values give: a northing column, an easting column, z the nearest other number
// after them (or before), name and code the first text columns.
[[nodiscard]] LayoutDetection rolesFromValues(const std::vector<Fields> &rows) {
    const std::size_t columns = rows.front().size();
    std::vector<GridValue> kinds;
    for (std::size_t c = 0; c < columns; ++c) {
        kinds.push_back(columnKind(rows, c));
    }
    const auto northings = std::count(kinds.begin(), kinds.end(), GridValue::Northing);
    const auto eastings = std::count(kinds.begin(), kinds.end(), GridValue::Easting);
    if (northings == 0 || eastings == 0) {
        return {std::nullopt, {}, DetectionFailure::NoCoordinates};
    }
    if (northings > 1 || eastings > 1) {
        return {std::nullopt, {}, DetectionFailure::Ambiguous};
    }
    std::vector<FieldRole> roles(columns, FieldRole::Skip);
    const auto x = static_cast<std::size_t>(
        std::find(kinds.begin(), kinds.end(), GridValue::Northing) - kinds.begin());
    const auto y = static_cast<std::size_t>(
        std::find(kinds.begin(), kinds.end(), GridValue::Easting) - kinds.begin());
    roles[x] = FieldRole::X;
    roles[y] = FieldRole::Y;
    for (std::size_t c = std::max(x, y) + 1; c < columns; ++c) {
        if (kinds[c] == GridValue::Other) {
            roles[c] = FieldRole::Z;
            break;
        }
    }
    FieldRole text = FieldRole::Name;
    for (std::size_t c = 0; c < columns && text != FieldRole::Skip; ++c) {
        if (kinds[c] == GridValue::None) {
            roles[c] = text;
            text = text == FieldRole::Name ? FieldRole::Code : FieldRole::Skip;
        }
    }
    return {SourceLayout{roles, FieldSeparator::CommaOrTab, false}, {}, DetectionFailure::None};
}

} // namespace

LayoutDetection detectLayout(std::string_view head) {
    const bool marked = head.starts_with(kByteOrderMark);
    if (marked) {
        head.remove_prefix(kByteOrderMark.size());
    }
    const SourceEncoding encoding =
        marked || isUtf8Beyond(head) ? SourceEncoding::Utf8 : SourceEncoding::Bytes;
    const std::vector<std::string_view> lines = firstLines(head);
    if (lines.empty()) {
        return {std::nullopt, encoding, DetectionFailure::NoLines};
    }
    const std::optional<FieldSeparator> separator = separatorOf(lines);
    if (!separator) {
        return {std::nullopt, encoding, DetectionFailure::NoSeparator};
    }
    const Fields first = cutByLayout(lines.front(), *separator);
    if (const std::optional<std::vector<FieldRole>> roles = headerRoles(first)) {
        return {SourceLayout{*roles, *separator, true}, encoding, DetectionFailure::None};
    }
    // The values of the lines with the usual number of fields decide.
    const std::size_t columns = usualFieldCount(lines, *separator);
    std::vector<Fields> rows;
    for (const std::string_view line : lines) {
        Fields fields = cutByLayout(line, *separator);
        if (fields.size() == columns) {
            rows.push_back(std::move(fields));
        }
    }
    LayoutDetection detection = rolesFromValues(rows);
    detection.encoding = encoding;
    if (detection.layout) {
        detection.layout->separator = *separator;
    }
    return detection;
}

} // namespace velkaro
