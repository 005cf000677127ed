#pragma once

#include <string>

namespace velkaro {

// A key that two paths share exactly when they lead to the same file: for a file that exists,
// its device and file number (so that links, "..", and other spellings of a path meet); for one
// that does not exist yet, its folder's device and number and its name (case-folded for ASCII
// letters on Windows, whose file systems ignore their case); when not even the folder exists,
// the lexically normal absolute path.
[[nodiscard]] std::string locationKey(const std::string &path);

} // namespace velkaro
