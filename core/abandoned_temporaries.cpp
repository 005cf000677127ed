#include "abandoned_temporaries.h"

#include <algorithm>
#include <ctime>

#ifdef _WIN32
#include "file_system_path.h"
#include "windows_api.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velkaro {
namespace {

constexpr std::string_view kPrefix = ".velkaro-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kTagDigits = 16;
// Longer than any run takes between creating its file and locking it.
constexpr std::time_t kGraceSeconds = 10;

#ifndef _WIN32
[[nodiscard]] bool mayRemove(int descriptor, const struct stat &opened) {
    return S_ISREG(opened.st_mode) && opened.st_uid == geteuid() &&
           std::time(nullptr) - opened.st_mtime > kGraceSeconds &&
           flock(descriptor, LOCK_EX | LOCK_NB) == 0;
}

// Removes folder/name when it is an abandoned temporary file, making sure that the name still
// leads to the file that was locked.
void removeIfAbandoned(int folder, const char *name) {
    struct stat named {};
    if (fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) {
        return; // a device is not even opened: opening some has effects of its own
    }
    const int descriptor = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    struct stat opened {};
    if (fstat(descriptor, &opened) == 0 && mayRemove(descriptor, opened) &&
        fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino) {
        unlinkat(folder, name, 0);
    }
    close(descriptor);
}
#else
// Opening without sharing fails while any process has the file open, so a file this opens has
// been let go by every run; it goes when the handle closes.
void removeIfAbandoned(const std::wstring &path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return;
    }
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
}

void removeAllIn(const std::string &folder) {
    const std::filesystem::path base = toFileSystemPath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((base / L".velkaro-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        const bool ascii =
            std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; });
        if (ascii && AbandonedTemporaries::isTemporaryName(std::string(name.begin(), name.end()))) {
            removeIfAbandoned((base / name).wstring());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
#endif

} // namespace

std::intptr_t AbandonedTemporaries::hold([[maybe_unused]] int descriptor,
                                         [[maybe_unused]] const std::string &path) noexcept {
#ifdef _WIN32
    // A second handle that stays open after the one written through is closed, until the file
    // has been moved into place; it shares everything, so that the move is not hindered.
    try {
        const HANDLE handle = CreateFileW(toFileSystemPath(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
    } catch (...) {
        return -1; // out of memory for the path: the file is only unheld
    }
#else
    const int held = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (held >= 0) {
        [[maybe_unused]] const bool locked = markAlive(held);
    }
    return held;
#endif
}

void AbandonedTemporaries::release(std::intptr_t hold) noexcept {
    if (hold == -1) {
        return;
    }
#ifdef _WIN32
    CloseHandle(reinterpret_cast<HANDLE>(hold));
#else
    close(static_cast<int>(hold));
#endif
}

bool AbandonedTemporaries::markAlive([[maybe_unused]] int descriptor) noexcept {
#ifdef _WIN32
    return false;
#else
    return flock(descriptor, LOCK_EX | LOCK_NB) == 0;
#endif
}

void AbandonedTemporaries::removeIn(const std::string &folder) noexcept {
#ifdef _WIN32
    try {
        removeAllIn(folder);
    } catch (...) {
        // Out of memory for a path: nothing is removed this time.
    }
#else
    DIR *entries = opendir(folder.empty() ? "." : folder.c_str());
    if (entries == nullptr) {
        return;
    }
    while (const dirent *entry = readdir(entries)) {
        if (isTemporaryName(entry->d_name)) {
            removeIfAbandoned(dirfd(entries), entry->d_name);
        }
    }
    closedir(entries);
#endif
}

bool AbandonedTemporaries::isTemporaryName(std::string_view name) noexcept {
    if (name.size() != kPrefix.size() + kTagDigits + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view tag = name.substr(kPrefix.size(), kTagDigits);
    return tag.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace velkaro
