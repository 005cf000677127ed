#include "early_writeback.h"

#ifdef __linux__
#include <fcntl.h>
#endif

namespace velkaro {

#ifdef __linux__
void startWriteback(std::FILE *file, std::uint64_t offset, std::uint64_t length) {
    const int descriptor = fileno(file);
    if (descriptor >= 0) {
        // Only SYNC_FILE_RANGE_WRITE: start the writing, wait for none of it.
        [[maybe_unused]] const int ignored =
            sync_file_range(descriptor, static_cast<off_t>(offset), static_cast<off_t>(length),
                            SYNC_FILE_RANGE_WRITE);
    }
}
#else
void startWriteback(std::FILE *, std::uint64_t, std::uint64_t) {}
#endif

} // namespace velkaro
