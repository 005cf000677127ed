#pragma once

#include <filesystem>
#include <string>

namespace velkaro {

// The core handles file names as the narrow bytes that std::fopen takes. These two turn such a
// name into a std::filesystem::path naming the same file, and back. On Windows the narrow bytes
// are in the code page of the file APIs (the ANSI code page, 936 on a Chinese system), the one
// fopen uses; libstdc++'s std::filesystem would read them as Latin-1 and write them as UTF-8, so
// a GBK name would be renamed into a different file. Elsewhere a path's bytes are its name.
[[nodiscard]] std::filesystem::path toFileSystemPath(const std::string &name);
[[nodiscard]] std::string toNarrowName(const std::filesystem::path &path);

} // namespace velkaro
