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
