#include "system_error_text.h"

#include <cstring>

#ifdef _WIN32
#include "windows_api.h"
#endif

namespace velkaro::wording {
namespace {

#ifdef _WIN32
// In the user's language, whatever the ANSI code page; trailing ". \r\n" removed.
[[nodiscard]] std::string windowsErrorText(int code) {
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string text;
    if (length != 0 && buffer != nullptr) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr,
                                             0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size,
                            nullptr, nullptr);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text.empty() ? "Windows error " + std::to_string(code) : text;
}
#endif

} // namespace

std::string systemErrorText(SystemError error) {
    switch (error.domain) {
    case SystemError::Domain::None:
        return {};
    case SystemError::Domain::Windows:
#ifdef _WIN32
        return windowsErrorText(error.code);
#else
        return "Windows error " + std::to_string(error.code);
#endif
    case SystemError::Domain::Posix:
        break;
    }
    // The C locale's text: the program never changes locale, so it is ASCII.
    return std::strerror(error.code);
}

} // namespace velkaro::wording
