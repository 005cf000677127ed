#pragma once

#include <atomic>
#include <cstdint>

namespace velkaro {

// Shared between a conversion running on one thread and a window watching it from another: the
// run adds the source bytes it has read, the window may ask it to stop. A stopped run ends in
// the outcome Cancelled, keeping an earlier output and leaving nothing behind.
struct ConversionProgress {
    std::atomic<std::uint64_t> bytesRead{0};
    std::atomic<bool> cancelRequested{false};
};

} // namespace velkaro
