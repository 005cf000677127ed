#pragma once

#include <string>
#include <string_view>

namespace velkaro::cli {

// A JSON string literal, quotes included, of text whose bytes may be in any code page. Valid
// UTF-8 passes unchanged (control characters, quotes and backslashes escaped); every byte that is
// no part of valid UTF-8 (a GBK name, say) becomes \udc80 to \udcff, Python's "surrogateescape":
// json.loads(...).encode("utf-8", "surrogateescape") gives back the exact bytes.
[[nodiscard]] std::string jsonString(std::string_view bytes);

// A number as the DXF writer prints it (six decimals); a JSON string for an infinity, which JSON
// numbers cannot hold ("1.#INF00", "-1.#INF00").
[[nodiscard]] std::string jsonNumber(double value);

} // namespace velkaro::cli
