#include "format_selection.h"

#include "format_names.h"

#include <algorithm>

namespace velkaro::dialog {
namespace {

// The formats in list order.
[[nodiscard]] std::array<TargetFormat, kFormatListSize> listedFormats() {
    std::array<TargetFormat, kFormatListSize> formats{};
    auto next = std::copy(std::begin(kTargetFormats), std::end(kTargetFormats), formats.begin());
    std::copy(std::begin(kGisFormats), std::end(kGisFormats), next);
    return formats;
}

} // namespace

std::array<std::string_view, kFormatListSize> formatListItems() {
    const std::array<TargetFormat, kFormatListSize> formats = listedFormats();
    std::array<std::string_view, kFormatListSize> items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i] = wording::formatListText(formats[i]);
    }
    return items;
}

std::optional<TargetFormat> formatOfListText(std::string_view text) {
    for (const TargetFormat format : listedFormats()) {
        if (text == wording::formatListText(format)) {
            return format;
        }
    }
    return std::nullopt;
}

std::optional<TargetFormat> selectedFormat(int selectedIndex, std::string_view fieldText) {
    const std::array<std::string_view, kFormatListSize> items = formatListItems();
    if (selectedIndex < 0 || static_cast<std::size_t>(selectedIndex) >= items.size() ||
        fieldText != items[static_cast<std::size_t>(selectedIndex)]) {
        return std::nullopt;
    }
    return formatOfListText(fieldText);
}

} // namespace velkaro::dialog
