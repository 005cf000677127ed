#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace velkaro::gis {

// The texts of the formats written as text (GeoJSON, KML), appended to a record being built.
// Numbers never go through printf or the locale: the output's bytes do not depend on where the
// program runs.

// A finite number in the fewest digits that read back as exactly that number; chars_format::fixed
// for readers that take no exponent. Non-finite numbers have no form in these formats.
void appendNumber(std::string &out, double value,
                  std::chars_format format = std::chars_format::general);

// A longitude or latitude in fixed notation to nine decimals (1e-9°, about 0.1 mm on the ground,
// far finer than any survey). The projection's last bits come from the C library's functions
// (atan, sinh, ...), which differ between platforms by an ulp or so; nine decimals round that
// away, so Linux and Windows write the same bytes for the same points, and the places stay
// within 5e-10° of the exact ones.
void appendDegrees(std::string &out, double degrees);

// A line number in decimal digits.
void appendInteger(std::string &out, unsigned long long value);

// UTF-8 text as a JSON string with its quotes: quote, backslash and the control characters
// escaped, everything else (non-ASCII included) as it is.
void appendJsonString(std::string &out, std::string_view utf8);

// UTF-8 text as the content of an XML 1.0 element or attribute: the five markup characters as
// entities, a carriage return as a character reference (a reader would turn it into a line
// feed), and each character XML 1.0 forbids (C0 controls other than tab, line feed and carriage
// return; U+FFFE and U+FFFF) as U+FFFD, the replacement character.
void appendXmlText(std::string &out, std::string_view utf8);

} // namespace velkaro::gis
