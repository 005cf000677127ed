#pragma once

#include <cstdint>
#include <cstdio>

namespace velkaro::gis {

// A file for bytes a writer sets aside until its output is complete, open for reading and
// writing in binary mode; the system deletes it when it is closed or the process ends, so that
// no run leaves it behind. Null when none can be made (errno, or on Windows GetLastError, says
// why). std::tmpfile on Windows' C runtime makes it in the root of the current drive, which
// users may not write to; there it goes into the user's temporary folder instead.
[[nodiscard]] std::FILE *openScratchFile();

// Moves file's position to offset, also past 2 GiB where long is 32 bits (Windows); false when
// the system refused (errno says why).
[[nodiscard]] bool seekScratchFile(std::FILE *file, std::uint64_t offset);

} // namespace velkaro::gis
