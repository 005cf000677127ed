#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velkaro::wording {

// Turns a name as the core takes it (the file system's bytes on Linux, the code page of the file
// APIs on Windows) into UTF-8 for display. Supplied by each front end, which knows the encoding
// and how it shows what cannot be decoded.
using NameDecoder = std::function<std::string(std::string_view coreName)>;

} // namespace velkaro::wording
