#include "COpenFileDialog.h"

#include "wide_text.h"

#include "dialog_texts.h"

#include <commdlg.h>

using velkaro::winapp::toWide;

namespace {

// A multiple selection can be long: room for some hundred names in one folder.
constexpr std::size_t kSelectionCharacters = 64 * 1024;

// "label\0pattern\0label\0pattern\0\0"
[[nodiscard]] std::wstring filterString() {
    std::wstring filter;
    for (const velkaro::dialog::FileFilter &entry : velkaro::dialog::kSourceFilters) {
        filter += toWide(entry.label);
        filter += L'\0';
        filter += toWide(entry.pattern);
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

[[nodiscard]] std::wstring joinFolder(const std::wstring &folder, const std::wstring &name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
        return folder + name;
    }
    return folder + L'\\' + name;
}

} // namespace

std::vector<std::wstring> COpenFileDialog::ChooseSourceFiles(HWND owner,
                                                             const std::wstring &folder) {
    const std::wstring filter = filterString();
    const std::wstring defaultExtension = toWide(velkaro::dialog::kDefaultExtension);
    std::wstring buffer(kSelectionCharacters, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT |
                   OFN_ALLOWMULTISELECT | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    return SplitSelection(buffer);
}

std::vector<std::wstring> COpenFileDialog::SplitSelection(const std::wstring &buffer) {
    std::vector<std::wstring> parts;
    for (std::size_t start = 0; start < buffer.size() && buffer[start] != L'\0';) {
        const std::size_t end = buffer.find(L'\0', start);
        parts.push_back(buffer.substr(start, end - start));
        start = end == std::wstring::npos ? buffer.size() : end + 1;
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(joinFolder(parts.front(), parts[i]));
    }
    return paths;
}
