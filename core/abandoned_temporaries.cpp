#include "abandoned_temporaries.h"

#include <ctime>

#ifndef _WIN32
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
#endif

} // namespace

bool AbandonedTemporaries::markAlive([[maybe_unused]] int descriptor) noexcept {
#ifdef _WIN32
    return false;
#else
    return flock(descriptor, LOCK_EX | LOCK_NB) == 0;
#endif
}

void AbandonedTemporaries::removeIn([[maybe_unused]] const std::string &folder) noexcept {
#ifndef _WIN32
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
