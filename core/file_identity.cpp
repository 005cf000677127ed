#include "file_identity.h"

#include "file_system_path.h"

#include <filesystem>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include "windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace velkaro {
namespace fs = std::filesystem;
namespace {

// Device and file number of an existing file or folder, following links.
[[nodiscard]] std::optional<std::string> identityOf(const fs::path &path) {
#ifdef _WIN32
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return std::to_string(information.dwVolumeSerialNumber) + ":" +
           std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
#endif
}

[[nodiscard]] std::string nameKey(const fs::path &name) {
#ifdef _WIN32
    std::wstring folded = name.native();
    for (wchar_t &c : folded) {
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return toNarrowName(fs::path(folded));
#else
    return toNarrowName(name);
#endif
}

} // namespace

std::string locationKey(const std::string &path) {
    const fs::path file = toFileSystemPath(path);
    if (std::optional<std::string> identity = identityOf(file)) {
        return "file " + *identity;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (std::optional<std::string> identity = identityOf(folder)) {
        return "in " + *identity + " " + nameKey(file.filename());
    }
    std::error_code error;
    return "path " + toNarrowName(fs::absolute(file, error).lexically_normal());
}

} // namespace velkaro
