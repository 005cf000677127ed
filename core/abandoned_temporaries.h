#pragma once

#include <string>
#include <string_view>

namespace velkaro {

// Named temporary files (".velkaro-<16 hex digits>.tmp") that a run which died by SIGKILL or a
// power cut left in an output folder. Each run holds an exclusive lock (flock) on its own
// temporary files for as long as they live, so a file that can be locked has nobody left to
// finish it. On Windows nothing is removed.
class AbandonedTemporaries {
  public:
    // Takes the lock that marks the temporary file open at descriptor as alive; kept while any
    // descriptor of that open file stays open. False when the file system has no locks.
    [[nodiscard]] static bool markAlive(int descriptor) noexcept;
    // Removes, in folder (empty: the current folder), each temporary file that belongs to this
    // user, can be locked, and was last written more than a few seconds ago (a live run takes
    // its lock right after creating its file, and this leaves it that moment). Links and
    // anything but regular files are left alone.
    static void removeIn(const std::string &folder) noexcept;
    // Whether name has the form of a temporary file's name.
    [[nodiscard]] static bool isTemporaryName(std::string_view name) noexcept;
};

} // namespace velkaro
