#include "file_system_path.h"

#include "windows_api.h"

namespace velkaro {

#ifdef _WIN32
namespace {

// The code page in which the narrow file APIs, and with them fopen, take names.
[[nodiscard]] UINT fileApiCodePage() {
    return AreFileApisANSI() ? CP_ACP : CP_OEMCP;
}

} // namespace

// Flags 0: bytes that are no character of the code page become the replacement character, just
// as the narrow file APIs convert them, so both name the same file.
std::filesystem::path toFileSystemPath(const std::string &name) {
    if (name.empty()) {
        return {};
    }
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(fileApiCodePage(), 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(fileApiCodePage(), 0, name.data(), size, wide.data(), length);
    return std::filesystem::path(wide);
}

std::string toNarrowName(const std::filesystem::path &path) {
    const std::wstring &wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(fileApiCodePage(), 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(fileApiCodePage(), 0, wide.data(), size, name.data(), length, nullptr,
                        nullptr);
    return name;
}
#else
std::filesystem::path toFileSystemPath(const std::string &name) {
    return std::filesystem::path(name);
}

std::string toNarrowName(const std::filesystem::path &path) {
    return path.native();
}
#endif

} // namespace velkaro
