#include "json_text.h"

#include "number_rules.h"

#include <cmath>

namespace velkaro::cli {
namespace {

[[nodiscard]] bool isContinuation(unsigned char byte, unsigned char low = 0x80,
                                  unsigned char high = 0xbf) {
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence at the start of text, or 0.
[[nodiscard]] std::size_t utf8Length(std::string_view text) {
    const auto at = [&](std::size_t i) -> unsigned char {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xc2 && lead <= 0xdf) {
        return isContinuation(at(1)) ? 2 : 0;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        const unsigned char low = lead == 0xe0 ? 0xa0 : 0x80;
        const unsigned char high = lead == 0xed ? 0x9f : 0xbf;
        return isContinuation(at(1), low, high) && isContinuation(at(2)) ? 3 : 0;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        const unsigned char low = lead == 0xf0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xf4 ? 0x8f : 0xbf;
        return isContinuation(at(1), low, high) && isContinuation(at(2)) && isContinuation(at(3))
                   ? 4
                   : 0;
    }
    return 0;
}

void appendEscape(std::string &out, unsigned value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(value >> shift) & 15];
    }
}

void appendAscii(std::string &out, char c) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
        appendEscape(out, static_cast<unsigned char>(c));
    } else {
        out += c;
    }
}

} // namespace

std::string jsonString(std::string_view bytes) {
    std::string out = "\"";
    while (!bytes.empty()) {
        const std::size_t length = utf8Length(bytes);
        if (length == 1) {
            appendAscii(out, bytes.front());
        } else if (length > 1) {
            out.append(bytes.substr(0, length));
        } else {
            appendEscape(out, 0xdc00U + static_cast<unsigned char>(bytes.front()));
        }
        bytes.remove_prefix(length == 0 ? 1 : length);
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    const std::string printed = formatFixed6(value);
    return std::isinf(value) ? "\"" + printed + "\"" : printed;
}

} // namespace velkaro::cli
