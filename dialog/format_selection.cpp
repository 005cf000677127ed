#include "format_selection.h"

#include "conversion_run.h"

namespace velkaro::dialog {

std::array<std::string_view, 3> formatListItems() {
    return {kCassItemText, kKaisiItemText, kCadItemText};
}

std::optional<std::string> selectedFormatText(int selectedIndex, std::string_view fieldText) {
    const std::array<std::string_view, 3> items = formatListItems();
    if (selectedIndex < 0 || static_cast<std::size_t>(selectedIndex) >= items.size()) {
        return std::nullopt;
    }
    const std::string_view item = items[static_cast<std::size_t>(selectedIndex)];
    if (fieldText != item) {
        return std::nullopt;
    }
    return std::string(item);
}

} // namespace velkaro::dialog
