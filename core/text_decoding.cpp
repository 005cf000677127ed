#include "text_decoding.h"

#include <algorithm>
#include <array>
#include <cstddef>

#ifdef _WIN32
#include "windows_api.h"
#else
#include <iconv.h>
#endif

namespace velkaro {
namespace {

constexpr std::string_view kReplacement = "\xef\xbf\xbd"; // U+FFFD

[[nodiscard]] bool inRange(std::string_view bytes, std::size_t i, unsigned low, unsigned high) {
    if (i >= bytes.size()) {
        return false;
    }
    const auto byte = static_cast<unsigned char>(bytes[i]);
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence at the start of bytes, or 0.
[[nodiscard]] std::size_t utf8Length(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xc2 && lead <= 0xdf) {
        return inRange(bytes, 1, 0x80, 0xbf) ? 2 : 0;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        const unsigned low = lead == 0xe0 ? 0xa0 : 0x80;
        const unsigned high = lead == 0xed ? 0x9f : 0xbf;
        return inRange(bytes, 1, low, high) && inRange(bytes, 2, 0x80, 0xbf) ? 3 : 0;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        const unsigned low = lead == 0xf0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xf4 ? 0x8f : 0xbf;
        return inRange(bytes, 1, low, high) && inRange(bytes, 2, 0x80, 0xbf) &&
                       inRange(bytes, 3, 0x80, 0xbf)
                   ? 4
                   : 0;
    }
    return 0;
}

// The length of the GB18030 sequence at the start of bytes by its form alone (one byte below
// 0x80; a lead 0x81-0xfe with a trail 0x40-0x7e or 0x80-0xfe; or a lead, a digit, a lead and a
// digit), or 0.
[[nodiscard]] std::size_t gb18030Length(std::string_view bytes) {
    if (inRange(bytes, 0, 0x00, 0x7f)) {
        return 1;
    }
    if (!inRange(bytes, 0, 0x81, 0xfe)) {
        return 0;
    }
    if (inRange(bytes, 1, 0x40, 0x7e) || inRange(bytes, 1, 0x80, 0xfe)) {
        return 2;
    }
    const bool four = inRange(bytes, 1, 0x30, 0x39) && inRange(bytes, 2, 0x81, 0xfe) &&
                      inRange(bytes, 3, 0x30, 0x39);
    return four ? 4 : 0;
}

// One GB18030 character of two or four bytes in UTF-8; empty when the code page has none there.
#ifdef _WIN32
[[nodiscard]] int toWide(unsigned codePage, std::string_view sequence,
                         std::array<wchar_t, 4> &wide) {
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, sequence.data(),
                               static_cast<int>(sequence.size()), wide.data(), 4);
}

[[nodiscard]] std::string gb18030Character(std::string_view sequence) {
    std::array<wchar_t, 4> wide{};
    int units = toWide(54936, sequence, wide);
    // Systems without GB18030's table (wine has none) still decode GBK's two-byte characters,
    // which GB18030 holds unchanged, the text of nearly every real export.
    if (units <= 0 && sequence.size() == 2) {
        units = toWide(936, sequence, wide);
    }
    if (units <= 0) {
        return {};
    }
    std::array<char, 16> narrow{};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, narrow.data(), 16, nullptr, nullptr);
    return length <= 0 ? std::string()
                       : std::string(narrow.data(), static_cast<std::size_t>(length));
}
#else
class Gb18030Converter {
  public:
    Gb18030Converter() : m_descriptor(iconv_open("UTF-8", "GB18030")) {}
    Gb18030Converter(const Gb18030Converter &) = delete;
    Gb18030Converter &operator=(const Gb18030Converter &) = delete;
    ~Gb18030Converter() {
        if (m_descriptor != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(m_descriptor);
        }
    }

    [[nodiscard]] std::string character(std::string_view sequence) {
        if (m_descriptor == reinterpret_cast<iconv_t>(-1)) {
            return {};
        }
        std::array<char, 8> in{};
        std::array<char, 16> out{};
        std::copy(sequence.begin(), sequence.end(), in.begin());
        char *inPointer = in.data();
        char *outPointer = out.data();
        std::size_t inLeft = sequence.size();
        std::size_t outLeft = out.size();
        iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr); // a fresh state
        if (iconv(m_descriptor, &inPointer, &inLeft, &outPointer, &outLeft) ==
                static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return {};
        }
        return std::string(out.data(), out.size() - outLeft);
    }

  private:
    iconv_t m_descriptor;
};
#endif

[[nodiscard]] DecodedText decodeGb18030(std::string_view bytes) {
    DecodedText text;
#ifndef _WIN32
    Gb18030Converter converter;
    const auto gb18030Character = [&converter](std::string_view sequence) {
        return converter.character(sequence);
    };
#endif
    while (!bytes.empty()) {
        const std::size_t length = gb18030Length(bytes);
        const std::string character =
            length == 1 ? std::string(1, bytes[0])
                        : (length == 0 ? std::string() : gb18030Character(bytes.substr(0, length)));
        if (character.empty()) {
            text.utf8 += kReplacement; // one byte is given up; the next may start a character
            text.lossless = false;
            bytes.remove_prefix(1);
            continue;
        }
        text.utf8 += character;
        bytes.remove_prefix(length);
    }
    return text;
}

[[nodiscard]] DecodedText decodeUtf8(std::string_view bytes) {
    DecodedText text;
    while (!bytes.empty()) {
        const std::size_t length = utf8Length(bytes);
        if (length == 0) {
            text.utf8 += kReplacement;
            text.lossless = false;
            bytes.remove_prefix(1);
            continue;
        }
        text.utf8.append(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return text;
}

} // namespace

DecodedText decodeText(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? decodeUtf8(bytes) : decodeGb18030(bytes);
}

bool isValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = utf8Length(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

std::string_view encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "utf-8" : "gb18030";
}

std::optional<TextEncoding> encodingNamed(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (lower == "utf-8" || lower == "utf8") {
        return TextEncoding::Utf8;
    }
    if (lower == "gb18030" || lower == "gbk" || lower == "gb2312" || lower == "cp936") {
        return TextEncoding::Gb18030;
    }
    return std::nullopt;
}

} // namespace velkaro
