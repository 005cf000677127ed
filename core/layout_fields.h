#pragma once

#include "source_layout.h"

#include <string_view>
#include <vector>

namespace velkaro {

// The fields of a line by the layout's separator, by position: between two commas or tabs (or
// semicolons) stands a field even when it is empty; runs of spaces and tabs are one separator,
// and blanks at either end of the line start or end no field. Each field has the blanks around
// it removed. Views into line.
[[nodiscard]] std::vector<std::string_view> cutByLayout(std::string_view line,
                                                        FieldSeparator separator);

} // namespace velkaro
