#pragma once

#include <string>

namespace velkaro::test {

// What a command of GDAL's tools (gdalsrsinfo, ogrinfo) prints on its standard output; throws
// when it cannot run or fails, so that a missing reader fails the test rather than passing it.
[[nodiscard]] std::string commandOutput(const std::string &command);

// A path in single quotes for the shell.
[[nodiscard]] std::string shellQuoted(const std::string &path);

} // namespace velkaro::test
