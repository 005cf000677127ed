#pragma once

#include <string>
#include <string_view>

namespace velkaro::cli {

// Text as printed in a report: control bytes (a line feed above all) as C escapes, so that every
// report stays on one line; all other bytes, whatever their encoding, unchanged.
[[nodiscard]] std::string printable(const std::string &text);

// The same text appended to out.
void appendPrintable(std::string &out, std::string_view text);

} // namespace velkaro::cli
