#pragma once

#include "target_format.h"

#include <array>
#include <iterator>
#include <optional>
#include <string_view>

namespace velkaro::dialog {

// How many items the format list has: the old tool's three, then the GIS formats.
inline constexpr std::size_t kFormatListSize = std::size(kTargetFormats) + std::size(kGisFormats);

// The format list's items, in list order: the old tool's three first and unchanged, then the GIS
// formats in the order of kGisFormats.
[[nodiscard]] std::array<std::string_view, kFormatListSize> formatListItems();

// The one exact rule from a list text to its format: the whole text, case-sensitively; nullopt
// for any other text.
[[nodiscard]] std::optional<TargetFormat> formatOfListText(std::string_view text);

// The format Convert asks for: the selected item's, but only while the list's editable field
// shows exactly that item's text. A field edited after picking (or typed into with no pick)
// chooses nothing, so the field can never show one format while another is written.
// selectedIndex: the list's selection, -1 for none.
[[nodiscard]] std::optional<TargetFormat> selectedFormat(int selectedIndex,
                                                         std::string_view fieldText);

} // namespace velkaro::dialog
