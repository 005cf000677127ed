#include "format_selection.h"

#include "format_names.h"

namespace velkaro::dialog {

std::array<std::string_view, 3> formatListItems() {
    std::array<std::string_view, 3> items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i] = wording::formatListText(kTargetFormats[i]);
    }
    return items;
}

std::optional<TargetFormat> formatOfListText(std::string_view text) {
    for (const TargetFormat format : kTargetFormats) {
        if (text == wording::formatListText(format)) {
            return format;
        }
    }
    return std::nullopt;
}

std::optional<TargetFormat> selectedFormat(int selectedIndex, std::string_view fieldText) {
    const std::array<std::string_view, 3> items = formatListItems();
    if (selectedIndex < 0 || static_cast<std::size_t>(selectedIndex) >= items.size() ||
        fieldText != items[static_cast<std::size_t>(selectedIndex)]) {
        return std::nullopt;
    }
    return formatOfListText(fieldText);
}

} // namespace velkaro::dialog
