#include "CSettingsStore.h"

#include "core_names.h"
#include "wide_text.h"

#include <windows.h>

using velkaro::winapp::toUtf8;
using velkaro::winapp::toWide;

namespace {

constexpr const wchar_t *kKey = L"Software\\Velkaro\\Velkaro";

// The values that hold the core's names of folders rather than UTF-8.
[[nodiscard]] bool holdsFolder(const std::string &name) {
    return name == "outputFolder" || name == "lastFolder";
}

[[nodiscard]] std::wstring storedText(const std::string &name, const std::string &value) {
    return toWide(holdsFolder(name) ? velkaro::winapp::coreNameToUtf8(value) : value);
}

[[nodiscard]] std::string valueOf(const std::string &name, const std::wstring &stored) {
    if (!holdsFolder(name)) {
        return toUtf8(stored);
    }
    return velkaro::winapp::toCoreName(stored).value_or(std::string());
}

[[nodiscard]] std::optional<std::wstring> readString(HKEY key, const std::wstring &name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(text.data()),
                         &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

} // namespace

velkaro::dialog::WindowSettings CSettingsStore::Load() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return {};
    }
    velkaro::dialog::SettingsValues values;
    for (const auto &[name, value] : velkaro::dialog::toValues({})) {
        if (const std::optional<std::wstring> stored = readString(key, toWide(name))) {
            values[name] = valueOf(name, *stored);
        }
    }
    RegCloseKey(key);
    return velkaro::dialog::fromValues(values);
}

bool CSettingsStore::Save(const velkaro::dialog::WindowSettings &settings) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool written = true;
    for (const auto &[name, value] : velkaro::dialog::toValues(settings)) {
        const std::wstring text = storedText(name, value);
        written = RegSetValueExW(key, toWide(name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
                      ERROR_SUCCESS &&
                  written;
    }
    RegCloseKey(key);
    return written;
}
