#pragma once

#include <cstdint>
#include <string_view>

namespace velkaro {

// Arithmetic on numbers as printFixed6 prints them ("[-]digits.dddddd"), so that a label placed
// beside a point, or its elevation, follows from the very digits the point was written with, at
// a fraction of the cost of converting and printing again.

// The printed number in millionths. False when the text is not of that form or has more than
// twelve integer digits (an infinity, say); sums of two such numbers always fit 64 bits.
[[nodiscard]] bool parseMillionths(std::string_view printed, std::int64_t &millionths);

// Prints millionths in that form, "-" only when negative (a zero is unsigned). Writes at most
// 27 bytes (scratch included) and returns the end.
char *printMillionths(char *out, std::int64_t millionths);

// Millionths (as parseMillionths gives them) rounded half up at decimal `decimals` (0 to 5; no
// point for 0), "-" first when negative. False, writing nothing, for other decimals and when the
// digits dropped are exactly a half. Writes at most 22 bytes.
[[nodiscard]] bool roundMillionths(std::int64_t millionths, bool negative, int decimals, char *out,
                                   char *&end);

// The printed number rounded half up at decimal `decimals` (0 to 5; no point for 0). False,
// writing nothing, when the text is not of that form, or when the digits dropped are exactly a
// half ("5" and zeros): the printed digits were themselves rounded there, so only the number
// itself decides such a tie. Writes at most printed.size() + 1 bytes.
[[nodiscard]] bool roundPrinted(std::string_view printed, int decimals, char *out, char *&end);

} // namespace velkaro
