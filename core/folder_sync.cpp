#include "folder_sync.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velkaro {

void syncFolder(const std::string &folder) {
#ifndef _WIN32
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        ::close(descriptor);
    }
#else
    (void)folder;
#endif
}

} // namespace velkaro
