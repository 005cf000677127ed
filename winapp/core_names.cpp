#include "core_names.h"

#include "wide_text.h"

#include <windows.h>

namespace velkaro::winapp {

namespace {

// With "UTF-8 for worldwide language support" the ANSI code page is UTF-8, for which Windows
// takes neither the best-fit flag nor the used-default question; the round trip below still
// refuses the unpaired surrogates that UTF-8 cannot hold.
[[nodiscard]] std::string ansiBytes(std::wstring_view wide, bool &lossy) {
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *const askUsedDefault = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, askUsedDefault);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, flags, wide.data(), size, bytes.data(), length, nullptr,
                            askUsedDefault);
    }
    lossy = length <= 0 || usedDefault;
    return bytes;
}

[[nodiscard]] std::wstring fromAnsi(std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    }
    return wide;
}

} // namespace

std::optional<std::string> toCoreName(std::wstring_view wideName) {
    if (wideName.empty()) {
        return std::string();
    }
    bool lossy = false;
    std::string name = ansiBytes(wideName, lossy);
    // Only a name that reads back as itself names the file the user chose.
    if (lossy || fromAnsi(name) != wideName) {
        return std::nullopt;
    }
    return name;
}

std::string coreNameToUtf8(std::string_view coreName) {
    return toUtf8(fromAnsi(coreName));
}

} // namespace velkaro::winapp
