#pragma once

#include <string>
#include <string_view>

namespace velkaro::cli {

// Text as printed in a report: control bytes (a line feed above all) as C escapes, so that every
// report stays on one line; all other bytes, whatever their encoding, unchanged.
[[nodiscard]] std::string printable(const std::string &text);
// The same, appended to out: for a report of many lines, built without a string per line.
void appendPrintable(std::string &out, std::string_view text);

} // namespace velkaro::cli
