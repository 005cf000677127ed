#include "printable_text.h"

#include <algorithm>
#include <string_view>

namespace velkaro::cli {
namespace {

[[nodiscard]] bool isPlain(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7f;
}

void appendEscaped(std::string &out, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
        out += "\\n";
    } else if (c == '\t') {
        out += "\\t";
    } else if (c == '\r') {
        out += "\\r";
    } else {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
}

} // namespace

void appendPrintable(std::string &out, std::string_view text) {
    // Codes and names nearly always hold no control byte: then they are copied whole.
    if (std::all_of(text.begin(), text.end(), isPlain)) {
        out += text;
        return;
    }
    for (const char c : text) {
        if (isPlain(c)) {
            out += c;
        } else {
            appendEscaped(out, c);
        }
    }
}

std::string printable(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    appendPrintable(out, text);
    return out;
}

} // namespace velkaro::cli
