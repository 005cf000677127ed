#pragma once

#include <string>

namespace velkaro {

// Named temporary files that must not outlive an interrupted process. A file is registered
// before it is created and released once it has been moved into place or removed; every signal
// whose default action ends the process (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGALRM, SIGUSR1,
// SIGXCPU, SIGXFSZ, the real-time signals, ...; SIGINT, SIGTERM, SIGBREAK and SIGABRT on Windows)
// removes every registered file and then ends the process as the signal would have. The paths are
// kept in fixed buffers, so the removal needs neither memory nor locks inside a signal handler.
// Nothing can help against SIGKILL or a power cut: that is why Linux builds prefer unnamed
// temporary files, which need no registration, and why the next run in the folder removes what such
// an end left (see AbandonedTemporaries).
class InterruptionCleanup {
  public:
    // Registers path (made absolute, so that a change of the working folder does not matter) and
    // installs the signal handlers on first use, for signals whose action is still the default
    // one. Returns the slot to release, or -1 when every slot is taken or the path is too long:
    // the file is then only removed by its owner.
    [[nodiscard]] static int add(const std::string &path) noexcept;
    // Forgets the file of slot (from add; -1 does nothing).
    static void release(int slot) noexcept;
    // Removes every registered file. Async-signal-safe; also called on running out of memory.
    static void removeAll() noexcept;
};

} // namespace velkaro
