#include "work_progress.h"

#include <algorithm>

namespace velkaro::dialog {
namespace {

// bytes in units of unit, rounded to a tenth, with a decimal point whatever the locale.
[[nodiscard]] std::string tenths(std::uint64_t bytes, std::uint64_t unit) {
    const std::uint64_t count = (bytes * 10 + unit / 2) / unit;
    return std::to_string(count / 10) + "." + std::to_string(count % 10);
}

} // namespace

int WorkProgress::percent() const {
    if (totalBytes == 0) {
        return 0;
    }
    const std::uint64_t read = conversion.bytesRead.load(std::memory_order_relaxed);
    return static_cast<int>(std::min<std::uint64_t>(100, read * 100 / totalBytes));
}

std::string WorkProgress::text(const NameDecoder &decode) const {
    if (sourceNames.empty()) {
        return {};
    }
    const std::size_t index = std::min(current.load(), sourceNames.size() - 1);
    return "正在转换 " + std::to_string(index + 1) + "/" + std::to_string(sourceNames.size()) +
           ": " + decode(sourceNames[index]);
}

std::string WorkProgress::bytesText() const {
    if (totalBytes == 0) {
        return {};
    }
    struct Unit {
        std::uint64_t bytes;
        const char *name;
    };
    constexpr Unit kUnits[] = {{1ULL << 10, " KB"}, {1ULL << 20, " MB"}, {1ULL << 30, " GB"}};
    Unit unit = kUnits[0];
    for (const Unit &larger : kUnits) {
        unit = totalBytes >= larger.bytes ? larger : unit;
    }
    const std::uint64_t read =
        std::min(conversion.bytesRead.load(std::memory_order_relaxed), totalBytes);
    return tenths(read, unit.bytes) + " / " + tenths(totalBytes, unit.bytes) + unit.name;
}

} // namespace velkaro::dialog
