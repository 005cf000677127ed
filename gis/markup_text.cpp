#include "markup_text.h"

#include <array>

namespace velkaro::gis {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Whether the three bytes at text[at] encode U+FFFE or U+FFFF, the noncharacters XML forbids.
[[nodiscard]] bool isForbiddenNoncharacter(std::string_view text, std::size_t at) {
    return text.substr(at, 2) == "\xEF\xBF" && at + 2 < text.size() &&
           (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
}

} // namespace

void appendNumber(std::string &out, double value, std::chars_format format) {
    // The longest shortest form: a sign, 309 integer digits, a point and 17 more digits.
    std::array<char, 400> text{};
    const std::to_chars_result result =
        std::to_chars(text.data(), text.data() + text.size(), value, format);
    out.append(text.data(), result.ptr);
}

void appendDegrees(std::string &out, double degrees) {
    constexpr int kDecimals = 9;
    std::array<char, 400> text{};
    const std::to_chars_result result = std::to_chars(text.data(), text.data() + text.size(),
                                                      degrees, std::chars_format::fixed, kDecimals);
    out.append(text.data(), result.ptr);
}

void appendInteger(std::string &out, unsigned long long value) {
    std::array<char, 24> text{};
    const std::to_chars_result result =
        std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), result.ptr);
}

void appendJsonString(std::string &out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendXmlText(std::string &out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\t':
        case '\n':
            out += c;
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += kReplacement;
            } else if (isForbiddenNoncharacter(utf8, i)) {
                out += kReplacement;
                i += 2;
            } else {
                out += c;
            }
        }
    }
}

} // namespace velkaro::gis
