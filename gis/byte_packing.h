#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace velkaro::gis {

// Appends numbers to a byte string in the byte order a file format fixes, whatever the host's:
// the binary GIS formats mix both orders in one header (the Shapefile's), so every value is
// packed byte by byte instead of copied from memory.
[[nodiscard]] inline char byteAt(std::uint64_t value, int index) {
    return static_cast<char>(static_cast<unsigned char>((value >> (8 * index)) & 0xFFu));
}

inline void appendLittle(std::string &out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(byteAt(value, i));
    }
}

inline void appendBig(std::string &out, std::uint64_t value, int bytes) {
    for (int i = bytes; i-- > 0;) {
        out.push_back(byteAt(value, i));
    }
}

inline void appendLittle32(std::string &out, std::uint32_t value) {
    appendLittle(out, value, 4);
}
inline void appendBig32(std::string &out, std::uint32_t value) {
    appendBig(out, value, 4);
}
inline void appendLittle16(std::string &out, std::uint16_t value) {
    appendLittle(out, value, 2);
}

// An IEEE 754 double in little-endian order, as the Shapefile and WKB write it.
inline void appendLittleDouble(std::string &out, double value) {
    appendLittle(out, std::bit_cast<std::uint64_t>(value), 8);
}

} // namespace velkaro::gis
