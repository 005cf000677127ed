#pragma once

#include "conversion_progress.h"
#include "message.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaro::dialog {

// What a window shows while conversions run off its thread: the conversion in progress and how
// far the bytes have come. The run writes, the window reads; a cancel request reaches the
// conversion running and keeps the later ones from starting.
struct WorkProgress {
    ConversionProgress conversion;        // the bytes of all sources read so far; the cancel
    std::atomic<std::size_t> current{0};  // the index of the conversion running
    std::vector<std::string> sourceNames; // of every conversion, as the core takes them
    std::uint64_t totalBytes = 0;         // of all sources; 0 when unknown

    // 0 to 100.
    [[nodiscard]] int percent() const;
    // "正在转换 2/40: pts.txt"
    [[nodiscard]] std::string text(const NameDecoder &decode) const;
    // The bytes read of all sources' bytes, in the unit that suits the total, to a tenth:
    // "12.3 / 45.6 MB" (KB below a MB, GB from a GB on; 1 KB = 1024 bytes, as Windows counts).
    // Empty when the total is unknown.
    [[nodiscard]] std::string bytesText() const;
};

// A run shorter than this shows no progress at all: a flash of a dialog is worse than none.
inline constexpr int kProgressDelayMilliseconds = 500;

} // namespace velkaro::dialog
