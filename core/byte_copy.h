#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace velkaro {

// Copies bytes to out and returns the end: the values written are mostly under 16 bytes, which
// two overlapping word copies do without a library call.
[[nodiscard]] inline char *appendBytes(char *out, std::string_view bytes) {
    const char *from = bytes.data();
    const std::size_t size = bytes.size();
    if (size >= 16) {
        std::memcpy(out, from, size);
    } else if (size >= 8) {
        std::memcpy(out, from, 8);
        std::memcpy(out + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(out, from, 4);
        std::memcpy(out + size - 4, from + size - 4, 4);
    } else if (size > 0) {
        out[0] = from[0];
        out[size / 2] = from[size / 2];
        out[size - 1] = from[size - 1];
    }
    return out + size;
}

} // namespace velkaro
