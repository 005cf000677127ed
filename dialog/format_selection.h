#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro::dialog {

// The format list's items, in list order: the texts the core maps to its formats.
[[nodiscard]] std::array<std::string_view, 3> formatListItems();

// The format Convert asks for: the selected item's text, but only while the list's editable
// field shows exactly that text. A field edited after picking (or typed into with no pick)
// chooses nothing, so the field can never show one format while another is written.
// selectedIndex: the list's selection, -1 for none.
[[nodiscard]] std::optional<std::string> selectedFormatText(int selectedIndex,
                                                            std::string_view fieldText);

} // namespace velkaro::dialog
