#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkaro {

// The number rules of the DXF writer. They are this system's own and are never taken from the
// C library or the locale, which differ between platforms and from these rules.

// atof's grammar: leading white space (space, \t, \n, \v, \f, \r) skipped; an optional sign;
// digits with at most one '.'; an optional exponent introduced by e, E, d or D with an optional
// sign and digits. Conversion stops at the first byte that cannot continue the number; text
// with no digits gives 0. No hexadecimal, infinity or NaN forms. A magnitude too large becomes
// infinity and one too small becomes zero, both keeping the sign.
[[nodiscard]] double parseNumber(std::string_view text);

// Whether parseNumber finds any digit in text: false for empty text, letters, a lone sign or
// point. A coordinate without one is written as 0 by the DXF writer and as text by the others.
[[nodiscard]] bool holdsNumber(std::string_view text);

// The most bytes printFixed6 writes: a sign, 309 integer digits, the point and six decimals.
inline constexpr std::size_t kMaxFixed6Length = 320;

// "%f" as this system prints it: the magnitude rounded to 17 significant digits half up, that
// digit string rounded at the sixth decimal half up, digits past the 17th significant one
// printed as 0; "-" whenever the sign is negative (so -0.000000), and 1.#INF00 / -1.#INF00 for
// infinities. Writes at most kMaxFixed6Length bytes at out and returns the end of what it wrote.
char *printFixed6(char *out, double value);

[[nodiscard]] std::string formatFixed6(double value);

} // namespace velkaro
