#pragma once

#include <string>

namespace velkaro::cli {

// Text as printed in a report: control bytes (a line feed above all) as C escapes, so that every
// report stays on one line; all other bytes, whatever their encoding, unchanged.
[[nodiscard]] std::string printable(const std::string &text);

} // namespace velkaro::cli
