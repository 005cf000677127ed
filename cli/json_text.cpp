#include "json_text.h"

#include "number_rules.h"

#include <cmath>

namespace velkaro::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscape(std::string &out, unsigned value) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(value >> shift) & 15];
    }
}

void appendEscaped(std::string &out, char c) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
        appendEscape(out, static_cast<unsigned char>(c));
    } else {
        out += c;
    }
}

[[nodiscard]] std::string hexBytes(std::string_view bytes) {
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return hex;
}

} // namespace

std::string jsonString(std::string_view utf8) {
    const DecodedText text = decodeText(utf8, TextEncoding::Utf8);
    std::string out = "\"";
    for (const char c : text.utf8) {
        appendEscaped(out, c);
    }
    return out + "\"";
}

std::string jsonTextMember(std::string_view key, std::string_view bytes, TextEncoding encoding) {
    const DecodedText text = decodeText(bytes, encoding);
    std::string member = "\"" + std::string(key) + "\":" + jsonString(text.utf8);
    if (!text.lossless) {
        member += ",\"" + std::string(key) + "Bytes\":\"" + hexBytes(bytes) + "\"";
    }
    return member;
}

std::string jsonNumber(double value) {
    const std::string printed = formatFixed6(value);
    return std::isinf(value) ? "\"" + printed + "\"" : printed;
}

} // namespace velkaro::cli
