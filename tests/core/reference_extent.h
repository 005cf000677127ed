#pragma once

#include "conversion_summary.h"
#include "number_rules.h"

#include <algorithm>
#include <string_view>

namespace velkaro::test {

// The summary's rule for one axis done the plain way: a value that holds a number goes through
// parseNumber, and the ends are std::min and std::max of the doubles in turn.
inline void extendByParsing(ValueExtent &extent, std::string_view value) {
    if (!holdsNumber(value)) {
        return;
    }
    const double number = parseNumber(value);
    extent.min = extent.numbers == 0 ? number : std::min(extent.min, number);
    extent.max = extent.numbers == 0 ? number : std::max(extent.max, number);
    ++extent.numbers;
}

} // namespace velkaro::test
