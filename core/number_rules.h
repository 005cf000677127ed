#pragma once

#include <string>
#include <string_view>

namespace velkaro {

// The number rules of the DXF writer. They are this system's own and are never taken from the
// C library or the locale, which differ between platforms.

// atof's grammar: leading white space (space, \t, \n, \v, \f, \r) skipped; an optional sign;
// digits with at most one '.'; an optional exponent introduced by e, E, d or D with an optional
// sign and digits. Conversion stops at the first byte that cannot continue the number; text
// with no digits gives 0. No hexadecimal, infinity or NaN forms. A magnitude too large becomes
// infinity and one too small becomes zero, both keeping the sign.
[[nodiscard]] double parseNumber(std::string_view text);

// "%f" as this system prints it: the magnitude rounded to 17 significant digits half up, that
// digit string rounded at the sixth decimal half up, digits past the 17th significant one
// printed as 0; "-" whenever the sign is negative (so -0.000000), and 1.#INF00 / -1.#INF00 for
// infinities. Appends to out.
void appendFixed6(std::string &out, double value);

[[nodiscard]] inline std::string formatFixed6(double value) {
    std::string out;
    appendFixed6(out, value);
    return out;
}

} // namespace velkaro
