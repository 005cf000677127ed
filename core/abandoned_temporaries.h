#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro {

// Named temporary files (".velkaro-<16 hex digits>.tmp") that a run which died by SIGKILL, by
// TerminateProcess or in a power cut left in an output folder. Each run holds its own temporary
// files for as long as they live: an exclusive lock (flock) on POSIX systems, an open handle on
// Windows. A file that nobody holds has nobody left to finish it.
class AbandonedTemporaries {
  public:
    // Takes the lock that marks the temporary file open at descriptor as alive; kept while any
    // descriptor of that open file stays open. False when the file system has no locks. POSIX.
    [[nodiscard]] static bool markAlive(int descriptor) noexcept;
    // Holds the named temporary file at path, open at descriptor, as alive until release; -1
    // when it cannot be held.
    [[nodiscard]] static std::intptr_t hold(int descriptor, const std::string &path) noexcept;
    // Lets go of a hold (-1 does nothing).
    static void release(std::intptr_t hold) noexcept;
    // Removes, in folder (empty: the current folder), each temporary file that nobody holds:
    // on POSIX systems one that belongs to this user, can be locked, and was last written more
    // than a few seconds ago (a live run takes its lock right after creating its file, and this
    // leaves it that moment); on Windows one that no process has open. Links and anything but
    // regular files are left alone.
    static void removeIn(const std::string &folder) noexcept;
    // Whether name has the form of a temporary file's name.
    [[nodiscard]] static bool isTemporaryName(std::string_view name) noexcept;
};

} // namespace velkaro
