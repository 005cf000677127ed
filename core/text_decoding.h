#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

// The code page of the text inside a source file (codes and names): GB18030, which covers the
// GBK of real exports, or UTF-8.
enum class TextEncoding { Gb18030, Utf8 };

// Text decoded into UTF-8. Bytes that are no character of the encoding became U+FFFD each, and
// lossless is false: the caller then keeps the original bytes beside the text.
struct DecodedText {
    std::string utf8;
    bool lossless = true;
};

[[nodiscard]] DecodedText decodeText(std::string_view bytes, TextEncoding encoding);

// Whether bytes are valid UTF-8 as a whole (plain ASCII included).
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// "gb18030" or "utf-8", as velkaro-convert's option and its JSON name the encoding.
[[nodiscard]] std::string_view encodingName(TextEncoding encoding);
// The encoding a name (any case; "gbk" and "gb2312" too, which GB18030 contains) stands for.
[[nodiscard]] std::optional<TextEncoding> encodingNamed(std::string_view name);

} // namespace velkaro
