#include "value_roles.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velkaro {
namespace {

using Rows = std::vector<std::vector<std::string_view>>;

// What most values of a column look like; None when the column is mostly not numbers.
[[nodiscard]] GridValue columnKind(const Rows &rows, std::size_t column) {
    std::array<std::size_t, 4> counts{};
    for (const std::vector<std::string_view> &row : rows) {
        ++counts[static_cast<std::size_t>(gridValueOf(row[column]))];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return 2 * *most > rows.size() ? static_cast<GridValue>(most - counts.begin())
                                   : GridValue::None;
}

// Whether most values of a column have a decimal point: a height, where a point number has none.
[[nodiscard]] bool isDecimalColumn(const Rows &rows, std::size_t column) {
    const auto decimals = std::count_if(rows.begin(), rows.end(), [column](const auto &row) {
        return row[column].find('.') != std::string_view::npos;
    });
    return 2 * static_cast<std::size_t>(decimals) > rows.size();
}

// The columns of a source line, what each looks like, and where the coordinates stand.
struct Columns {
    std::vector<GridValue> kinds;
    std::size_t x = 0;
    std::size_t y = 0;
    [[nodiscard]] std::size_t first() const { return std::min(x, y); }
    [[nodiscard]] std::size_t last() const { return std::max(x, y); }
};

// The column of z: the first number after the first coordinate (the other one aside), or the
// one decimal column before them. Nullopt for none; failure when several may be z.
[[nodiscard]] std::optional<std::size_t> heightColumn(const Rows &rows, const Columns &columns,
                                                      DetectionFailure &failure) {
    for (std::size_t c = columns.first() + 1; c < columns.kinds.size(); ++c) {
        if (c != columns.last() && columns.kinds[c] == GridValue::Other) {
            return c;
        }
    }
    std::vector<std::size_t> decimals;
    bool laterNumber = false; // a whole number after the name's place: a code, or a height?
    for (std::size_t c = 0; c < columns.first(); ++c) {
        if (columns.kinds[c] != GridValue::Other) {
            continue;
        }
        if (isDecimalColumn(rows, c)) {
            decimals.push_back(c);
        } else {
            laterNumber = laterNumber || c > 0;
        }
    }
    if (decimals.size() > 1 || (decimals.empty() && laterNumber)) {
        failure = DetectionFailure::AmbiguousHeight;
    }
    return decimals.size() == 1 ? std::optional(decimals.front()) : std::nullopt;
}

// Name and code: the fields before the coordinates by position, then texts after them.
[[nodiscard]] bool placeTexts(const Columns &columns, std::vector<FieldRole> &roles) {
    FieldRole next = FieldRole::Name;
    const auto take = [&next](FieldRole &role) {
        role = next;
        next = next == FieldRole::Name ? FieldRole::Code : FieldRole::Skip;
    };
    for (std::size_t c = 0; c < columns.first(); ++c) {
        if (roles[c] == FieldRole::Skip) {
            if (next == FieldRole::Skip) {
                return false; // more fields before the coordinates than a name and a code
            }
            take(roles[c]);
        }
    }
    for (std::size_t c = columns.first() + 1; c < roles.size() && next != FieldRole::Skip; ++c) {
        if (roles[c] == FieldRole::Skip && columns.kinds[c] == GridValue::None) {
            take(roles[c]);
        }
    }
    return true;
}

// What each column looks like, and the one column of northings and of eastings.
[[nodiscard]] DetectionFailure findCoordinates(const Rows &rows, Columns &columns) {
    for (std::size_t c = 0; c < rows.front().size(); ++c) {
        columns.kinds.push_back(columnKind(rows, c));
    }
    const auto &kinds = columns.kinds;
    const auto northing = std::find(kinds.begin(), kinds.end(), GridValue::Northing);
    const auto easting = std::find(kinds.begin(), kinds.end(), GridValue::Easting);
    if (northing == kinds.end() || easting == kinds.end()) {
        return DetectionFailure::NoCoordinates;
    }
    if (std::count(kinds.begin(), kinds.end(), GridValue::Northing) > 1 ||
        std::count(kinds.begin(), kinds.end(), GridValue::Easting) > 1) {
        return DetectionFailure::Ambiguous;
    }
    columns.x = static_cast<std::size_t>(northing - kinds.begin());
    columns.y = static_cast<std::size_t>(easting - kinds.begin());
    return DetectionFailure::None;
}

[[nodiscard]] LayoutDetection refused(DetectionFailure failure) {
    return {std::nullopt, SourceEncoding::Bytes, failure};
}

} // namespace

LayoutDetection rolesFromValues(const Rows &rows) {
    Columns columns;
    if (const DetectionFailure failure = findCoordinates(rows, columns);
        failure != DetectionFailure::None) {
        return refused(failure);
    }
    std::vector<FieldRole> roles(columns.kinds.size(), FieldRole::Skip);
    roles[columns.x] = FieldRole::X;
    roles[columns.y] = FieldRole::Y;
    DetectionFailure failure = DetectionFailure::None;
    if (const std::optional<std::size_t> z = heightColumn(rows, columns, failure)) {
        roles[*z] = FieldRole::Z;
    }
    if (failure == DetectionFailure::None && !placeTexts(columns, roles)) {
        failure = DetectionFailure::UnclearTexts;
    }
    if (failure != DetectionFailure::None) {
        return refused(failure);
    }
    return {SourceLayout{roles, FieldSeparator::CommaOrTab, false}, {}, DetectionFailure::None};
}

} // namespace velkaro
