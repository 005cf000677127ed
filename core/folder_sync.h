#pragma once

#include <string>

namespace velkaro {

// Flushes a folder's entries to the disk (fsync of the folder), so that the names renamed or
// linked into it survive a power cut; one flush covers every name put there before it. Empty
// folder: the current one. A folder that cannot be opened or flushed this way (some network and
// FUSE file systems) has nothing more to offer, so that is no error. Windows has no way to flush
// a folder; MoveFileEx writes its entry through.
void syncFolder(const std::string &folder);

} // namespace velkaro
