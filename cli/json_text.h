#pragma once

#include "text_decoding.h"

#include <string>
#include <string_view>

namespace velkaro::cli {

// A JSON string literal, quotes included, of UTF-8 text (RFC 8259): control characters, quotes
// and backslashes escaped. A byte that is no part of valid UTF-8 becomes U+FFFD, so that the
// result is always valid UTF-8; sentences use this, names go through jsonTextMember.
[[nodiscard]] std::string jsonString(std::string_view utf8);

// The members `"key":"<text>"` for bytes in encoding, decoded into UTF-8, and when some bytes
// were no character of it, `,"<key>Bytes":"<hex>"` with every original byte as two lower-case
// hexadecimal digits, so that nothing is lost.
[[nodiscard]] std::string jsonTextMember(std::string_view key, std::string_view bytes,
                                         TextEncoding encoding);

// A number as the DXF writer prints it (six decimals); a JSON string for an infinity, which JSON
// numbers cannot hold ("1.#INF00", "-1.#INF00").
[[nodiscard]] std::string jsonNumber(double value);

} // namespace velkaro::cli
