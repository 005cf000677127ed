#pragma once

#include <optional>
#include <string>
#include <string_view>

// The conversion core opens files by narrow names, which Windows reads in the ANSI code page (936
// on a Chinese system, 1252 on a Western one). The window holds names in UTF-16; these cross
// between the two without ever naming another file.
namespace velkaro::winapp {

// The ANSI bytes of a wide file name, or nullopt when the code page cannot hold one of its
// characters (an emoji anywhere, Chinese on 1252): no replacement character, no best-fit
// look-alike, so a name is either exact or refused.
[[nodiscard]] std::optional<std::string> toCoreName(std::wstring_view wideName);
// UTF-8 for display of a name the core took or made (an output name built from a source name).
[[nodiscard]] std::string coreNameToUtf8(std::string_view coreName);

} // namespace velkaro::winapp
