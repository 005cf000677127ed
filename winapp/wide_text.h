#pragma once

#include <string>
#include <string_view>

// The window speaks UTF-16 to Windows and UTF-8 to the dialog layer; these convert between them.
// Ill-formed input becomes U+FFFD rather than being dropped.
namespace velkaro::winapp {

[[nodiscard]] std::wstring toWide(std::string_view utf8);
[[nodiscard]] std::string toUtf8(std::wstring_view wide);

} // namespace velkaro::winapp
