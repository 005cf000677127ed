#include "printable_text.h"

#include <algorithm>
#include <string_view>

namespace velkaro::cli {
namespace {

[[nodiscard]] bool isPlain(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7f;
}

[[nodiscard]] char *putEscaped(char *out, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    *out++ = '\\';
    if (c == '\n' || c == '\t' || c == '\r') {
        *out++ = c == '\n' ? 'n' : c == '\t' ? 't' : 'r';
        return out;
    }
    *out++ = 'x';
    *out++ = kHex[byte >> 4];
    *out++ = kHex[byte & 15];
    return out;
}

} // namespace

char *putPrintable(char *out, std::string_view text) {
    // Codes and names nearly always hold no control byte: then they are copied whole.
    if (std::all_of(text.begin(), text.end(), isPlain)) {
        return std::copy(text.begin(), text.end(), out);
    }
    for (const char c : text) {
        if (isPlain(c)) {
            *out++ = c;
        } else {
            out = putEscaped(out, c);
        }
    }
    return out;
}

std::string printable(const std::string &text) {
    std::string out(kMaxPrintableBytes * text.size(), '\0');
    out.resize(static_cast<std::size_t>(putPrintable(out.data(), text) - out.data()));
    return out;
}

} // namespace velkaro::cli
