#include "layout_detection.h"

#include "layout_fields.h"
#include "number_rules.h"
#include "value_roles.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velkaro {
namespace {

using Fields = std::vector<std::string_view>;

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

// Whether most lines read right the old tool's way: fields 5, 6 and 7 a northing, an easting
// and a number, a name and a code before them.
[[nodiscard]] bool readsTheOldWay(const std::vector<std::string_view> &lines) {
    std::size_t right = 0;
    for (const std::string_view line : lines) {
        const Fields fields = cutTheOldWay(line);
        if (fields.size() >= 7 && gridValueOf(fields[4]) == GridValue::Northing &&
            gridValueOf(fields[5]) == GridValue::Easting &&
            gridValueOf(fields[6]) != GridValue::None) {
            ++right;
        }
    }
    return 2 * right > lines.size();
}

// The values of the lines with the usual number of fields decide.
[[nodiscard]] LayoutDetection layoutOfValues(const std::vector<std::string_view> &lines,
                                             FieldSeparator separator) {
    const std::size_t columns = usualFieldCount(lines, separator, kDetectionFields);
    std::vector<Fields> rows;
    for (const std::string_view line : lines) {
        Fields fields = cutByLayout(line, separator);
        if (fields.size() == columns) {
            rows.push_back(std::move(fields));
        }
    }
    LayoutDetection detection = rolesFromValues(rows);
    if (detection.layout) {
        detection.layout->separator = separator;
    }
    return detection;
}

} // namespace

LayoutDetection detectLayout(std::string_view head) {
    const bool marked = head.starts_with(kByteOrderMark);
    LayoutDetection detection;
    detection.encoding =
        marked || isUtf8Beyond(head) ? SourceEncoding::Utf8 : SourceEncoding::Bytes;
    const std::vector<std::string_view> lines = firstLines(head, kDetectionLines);
    const std::optional<FieldSeparator> separator = separatorOf(lines, kDetectionFields);
    if (lines.empty()) {
        detection.failure = DetectionFailure::NoLines;
    } else if (const auto roles =
                   separator ? headerRoles(cutByLayout(lines.front(), *separator)) : std::nullopt) {
        detection.layout = SourceLayout{*roles, *separator, true};
    } else if (readsTheOldWay(lines)) {
        detection.oldLayout = true;
    } else if (!separator) {
        detection.failure = DetectionFailure::NoSeparator;
    } else {
        const SourceEncoding encoding = detection.encoding;
        detection = layoutOfValues(lines, *separator);
        detection.encoding = encoding;
    }
    return detection;
}

} // namespace velkaro
