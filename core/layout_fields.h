#pragma once

#include "source_layout.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace velkaro {

// The fields of a line by the layout's separator, by position: between two commas or tabs (or
// semicolons) stands a field even when it is empty; runs of spaces and tabs are one separator,
// and blanks at either end of the line start or end no field. Each field has the blanks around
// it removed. Views into line.
[[nodiscard]] std::vector<std::string_view> cutByLayout(std::string_view line,
                                                        FieldSeparator separator);

// The fields of a line as the old tool cut them: a run of commas and tabs is one separator, so
// an empty field does not count, and blanks are part of a field. Views into line.
[[nodiscard]] std::vector<std::string_view> cutTheOldWay(std::string_view line);

// The UTF-8 byte-order mark that newer software writes at the start of a file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The first lines of head that hold anything, without their line ends and without a byte-order
// mark in front of the first; at most maxLines. Views into head.
[[nodiscard]] std::vector<std::string_view> firstLines(std::string_view head, std::size_t maxLines);

// The first separator of comma or tab, semicolon and runs of spaces that cuts at least half of
// lines into the same number of fields, at least minimumFields; commas and tabs first, so that a
// name with a blank in it stays whole where they separate.
[[nodiscard]] std::optional<FieldSeparator> separatorOf(const std::vector<std::string_view> &lines,
                                                        std::size_t minimumFields);

// The number of fields that at least half of lines have when cut by separator, the larger of two
// equally common; 0 when that is less than minimumFields or less than half of the lines have it.
[[nodiscard]] std::size_t usualFieldCount(const std::vector<std::string_view> &lines,
                                          FieldSeparator separator, std::size_t minimumFields);

} // namespace velkaro
