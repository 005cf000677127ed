#pragma once

#include <cstdint>
#include <cstdio>

namespace velkaro {

// Asks the system to start writing a range of a file to the disk now instead of when the file is
// flushed: the disk writes while the conversion goes on, and the flush at the end, which every
// output waits for, finds little left to do. A hint only: it returns at once, does nothing where
// the system offers no such call, and its failures are left to the flush to report.
void startWriteback(std::FILE *file, std::uint64_t offset, std::uint64_t length);

} // namespace velkaro
