#include "interruption_cleanup.h"

#include "file_system_path.h"

#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace velkaro {
namespace {

constexpr int kSlots = 8;
constexpr std::size_t kPathCapacity = 4096;

// state: 0 free, 1 being filled, 2 holds a path to remove.
struct Slot {
    std::atomic<int> state{0};
    char path[kPathCapacity] = {};
};

Slot slots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slot states");

extern "C" void removeAndResignal(int signalNumber) {
    InterruptionCleanup::removeAll();
#ifdef _WIN32
    std::signal(signalNumber, SIG_DFL);
#else
    // The handler was installed with SA_RESETHAND: the default action is back already. The
    // signal stays blocked until the handler returns, then ends the process as it would have.
#endif
    std::raise(signalNumber);
}

void installHandler(int signalNumber) {
#ifdef _WIN32
    const auto previous = std::signal(signalNumber, removeAndResignal);
    if (previous != SIG_DFL && previous != SIG_ERR) {
        std::signal(signalNumber, previous); // someone else handles it (or ignores it)
    }
#else
    struct sigaction previous {};
    if (sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL ||
        (previous.sa_flags & SA_SIGINFO) != 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = removeAndResignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigaction(signalNumber, &action, nullptr);
#endif
}

// Every signal whose default action ends the process (and which can be caught): ending by any of
// them must not leave a named temporary file behind.
constexpr int kEndingSignals[] = {
    SIGINT,   SIGTERM, SIGABRT, SIGSEGV, SIGILL, SIGFPE,
#ifdef _WIN32
#ifdef SIGBREAK
    SIGBREAK,
#endif
#else
    SIGHUP,    SIGQUIT, SIGTRAP, SIGBUS,    SIGUSR1, SIGUSR2, SIGPIPE,
    SIGALRM,   SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#endif
};

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int signalNumber : kEndingSignals) {
            installHandler(signalNumber);
        }
#ifdef SIGRTMIN
        // The real-time signals end the process by default too.
        for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) {
            installHandler(signalNumber);
        }
#endif
    });
}

} // namespace

int InterruptionCleanup::add(const std::string &path) noexcept {
    try {
        std::error_code error;
        const std::string absolute =
            toNarrowName(std::filesystem::absolute(toFileSystemPath(path), error));
        if (error || absolute.size() >= kPathCapacity) {
            return -1;
        }
        installHandlers();
        for (int i = 0; i < kSlots; ++i) {
            int expected = 0;
            if (slots[i].state.compare_exchange_strong(expected, 1)) {
                std::memcpy(slots[i].path, absolute.c_str(), absolute.size() + 1);
                slots[i].state.store(2);
                return i;
            }
        }
    } catch (...) {
        // Out of memory: the file is still removed by its owner when the run ends.
    }
    return -1;
}

void InterruptionCleanup::release(int slot) noexcept {
    if (slot >= 0 && slot < kSlots) {
        slots[slot].state.store(0);
    }
}

void InterruptionCleanup::removeAll() noexcept {
    for (Slot &slot : slots) {
        if (slot.state.load() == 2) {
#ifdef _WIN32
            std::remove(slot.path);
#else
            unlink(slot.path);
#endif
        }
    }
}

} // namespace velkaro
