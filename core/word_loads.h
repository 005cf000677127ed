#pragma once

#include <cstdint>
#include <cstring>

namespace velkaro {

// The bytes at `bytes` as an unsigned word in the machine's order, widened to 64 bits: the one
// way the number rules and the code table read bytes a word at a time, with no alignment needed.
template <typename Word> [[nodiscard]] inline std::uint64_t loadWord(const char *bytes) {
    Word word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

[[nodiscard]] inline std::uint64_t load8(const char *bytes) {
    return loadWord<std::uint64_t>(bytes);
}
[[nodiscard]] inline std::uint64_t load4(const char *bytes) {
    return loadWord<std::uint32_t>(bytes);
}
[[nodiscard]] inline std::uint64_t load2(const char *bytes) {
    return loadWord<std::uint16_t>(bytes);
}

} // namespace velkaro
