#include "work_progress.h"

#include <algorithm>

namespace velkaro::dialog {

int WorkProgress::percent() const {
    if (totalBytes == 0) {
        return 0;
    }
    const std::uint64_t read = conversion.bytesRead.load(std::memory_order_relaxed);
    return static_cast<int>(std::min<std::uint64_t>(100, read * 100 / totalBytes));
}

std::string WorkProgress::text(const NameDecoder &decode) const {
    const std::size_t index = std::min(current.load(), sourceNames.size() - 1);
    if (sourceNames.empty()) {
        return {};
    }
    return "正在转换 " + std::to_string(index + 1) + "/" + std::to_string(sourceNames.size()) +
           ": " + decode(sourceNames[index]);
}

} // namespace velkaro::dialog
