#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkaro::cli {

// Text as printed in a report: control bytes (a line feed above all) as C escapes, so that every
// report stays on one line; all other bytes, whatever their encoding, unchanged.
[[nodiscard]] std::string printable(const std::string &text);
// The same, written at out, at most kMaxPrintableBytes per byte of text; returns the end. For a
// report of many lines, put together without a string per line.
inline constexpr std::size_t kMaxPrintableBytes = 4;
[[nodiscard]] char *putPrintable(char *out, std::string_view text);

} // namespace velkaro::cli
