#pragma once

#include "conversion_options.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::dialog {

// What the settings show of the chosen file under the layout chosen there: its first points as
// 点名 / 编码 / X / Y / H, and a line that says how the file is read (or why auto decides
// nothing), so that the user sees before converting how each column will be taken.
struct PreviewTable {
    std::vector<std::string> headers;           // the five column titles
    std::vector<std::vector<std::string>> rows; // UTF-8, one row per point
    std::string note;
};

inline constexpr std::size_t kPreviewPoints = 8;

// head: the first bytes of the source (at most kDetectionBytes).
[[nodiscard]] PreviewTable previewTable(std::string_view head, const ConversionOptions &options);

} // namespace velkaro::dialog
