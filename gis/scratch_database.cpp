#include "scratch_database.h"

#include "scratch_file.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace velkaro::gis {
namespace {

constexpr const char *kVfsName = "velkaro-scratch";

// A file SQLite opened through the scratch VFS: SQLite allocates it (szOsFile) and reaches it as
// its first member. size is the file's logical end, which a truncation may put before the end
// of the bytes written.
struct ScratchHandle {
    sqlite3_file base;
    std::FILE *file;
    sqlite3_int64 size;
};

// The errno of the last failed file operation on this thread, for sqlite3_system_errno.
thread_local int lastError = 0;

[[nodiscard]] ScratchHandle &handleOf(sqlite3_file *file) {
    return *reinterpret_cast<ScratchHandle *>(file);
}

[[nodiscard]] int failure(int result) {
    lastError = errno;
    return result;
}

int closeFile(sqlite3_file *file) {
    std::fclose(handleOf(file).file);
    return SQLITE_OK;
}

// Past the logical end the bytes read as zeros, as SQLite expects of a short read.
int readFile(sqlite3_file *file, void *bytes, int amount, sqlite3_int64 offset) {
    const ScratchHandle &handle = handleOf(file);
    const auto wanted = static_cast<std::size_t>(amount);
    const auto present =
        static_cast<std::size_t>(std::clamp<sqlite3_int64>(handle.size - offset, 0, amount));
    if (present > 0 && (!seekScratchFile(handle.file, static_cast<std::uint64_t>(offset)) ||
                        std::fread(bytes, 1, present, handle.file) != present)) {
        return failure(SQLITE_IOERR_READ);
    }
    if (present < wanted) {
        std::memset(static_cast<char *>(bytes) + present, 0, wanted - present);
        return SQLITE_IOERR_SHORT_READ;
    }
    return SQLITE_OK;
}

int writeFile(sqlite3_file *file, const void *bytes, int amount, sqlite3_int64 offset) {
    ScratchHandle &handle = handleOf(file);
    const auto size = static_cast<std::size_t>(amount);
    if (!seekScratchFile(handle.file, static_cast<std::uint64_t>(offset)) ||
        std::fwrite(bytes, 1, size, handle.file) != size) {
        return failure(errno == ENOSPC ? SQLITE_FULL : SQLITE_IOERR_WRITE);
    }
    handle.size = std::max(handle.size, offset + amount);
    return SQLITE_OK;
}

// The bytes past a truncation stay in the file but are never read or copied.
int truncateFile(sqlite3_file *file, sqlite3_int64 size) {
    handleOf(file).size = size;
    return SQLITE_OK;
}

// Nothing in a scratch file has to outlive the process.
int syncFile(sqlite3_file *, int) {
    return SQLITE_OK;
}

int fileSize(sqlite3_file *file, sqlite3_int64 *size) {
    *size = handleOf(file).size;
    return SQLITE_OK;
}

int lockFile(sqlite3_file *, int) {
    return SQLITE_OK;
}

int checkReservedLock(sqlite3_file *, int *reserved) {
    *reserved = 0;
    return SQLITE_OK;
}

int fileControl(sqlite3_file *, int, void *) {
    return SQLITE_NOTFOUND;
}

int sectorSize(sqlite3_file *) {
    return 4096;
}

int deviceCharacteristics(sqlite3_file *) {
    return 0;
}

// Version 1: no shared memory (no WAL) and no memory mapping.
const sqlite3_io_methods kMethods = {1,
                                     closeFile,
                                     readFile,
                                     writeFile,
                                     truncateFile,
                                     syncFile,
                                     fileSize,
                                     lockFile,
                                     lockFile,
                                     checkReservedLock,
                                     fileControl,
                                     sectorSize,
                                     deviceCharacteristics,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr};

// Every file, whatever its name and kind, is a new scratch file.
int openFile(sqlite3_vfs *, const char *, sqlite3_file *file, int flags, int *outFlags) {
    ScratchHandle &handle = handleOf(file);
    handle.base.pMethods = nullptr; // SQLite closes only a file that was opened
    errno = 0;
    handle.file = openScratchFile();
    if (handle.file == nullptr) {
        return failure(SQLITE_CANTOPEN);
    }
    handle.size = 0;
    handle.base.pMethods = &kMethods;
    if (outFlags != nullptr) {
        *outFlags = flags;
    }
    return SQLITE_OK;
}

// No name stands for a file: none can be found or deleted by it.
int deleteFile(sqlite3_vfs *, const char *, int) {
    return SQLITE_OK;
}

int access(sqlite3_vfs *, const char *, int, int *exists) {
    *exists = 0;
    return SQLITE_OK;
}

int fullPathname(sqlite3_vfs *, const char *name, int capacity, char *out) {
    sqlite3_snprintf(capacity, out, "%s", name);
    return SQLITE_OK;
}

int getLastError(sqlite3_vfs *, int, char *) {
    return lastError;
}

// The system's VFS with the file methods above; the rest (time, randomness, sleeping) is the
// system's own. Null when SQLite has no VFS or refused the registration.
[[nodiscard]] sqlite3_vfs *registerVfs() {
    const sqlite3_vfs *system = sqlite3_vfs_find(nullptr);
    if (system == nullptr) {
        return nullptr;
    }
    static sqlite3_vfs vfs = *system;
    vfs.iVersion = 1;
    vfs.szOsFile = sizeof(ScratchHandle);
    vfs.pNext = nullptr;
    vfs.zName = kVfsName;
    vfs.xOpen = openFile;
    vfs.xDelete = deleteFile;
    vfs.xAccess = access;
    vfs.xFullPathname = fullPathname;
    vfs.xGetLastError = getLastError;
    return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK ? &vfs : nullptr;
}

} // namespace

int openScratchDatabase(sqlite3 **db) {
    *db = nullptr;
    static sqlite3_vfs *const vfs = registerVfs();
    if (vfs == nullptr) {
        return SQLITE_CANTOPEN;
    }
    int result = sqlite3_open_v2("velkaro-scratch.db", db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE,
                                 kVfsName);
    if (result == SQLITE_OK) {
        const std::string pragmas = "PRAGMA page_size=4096;PRAGMA cache_size=-" +
                                    std::to_string(kScratchCacheKiB) +
                                    ";PRAGMA journal_mode=OFF;PRAGMA synchronous=OFF";
        result = sqlite3_exec(*db, pragmas.c_str(), nullptr, nullptr, nullptr);
    }
    return result;
}

bool copyScratchDatabase(sqlite3 *db, std::FILE *out) {
    sqlite3_file *file = nullptr;
    errno = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        file == nullptr || file->pMethods != &kMethods) {
        errno = EINVAL;
        return false;
    }
    const ScratchHandle &handle = handleOf(file);
    if (!seekScratchFile(handle.file, 0)) {
        return false;
    }
    std::vector<char> piece(64 * 1024);
    for (auto left = static_cast<std::uint64_t>(handle.size); left > 0;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
        if (std::fread(piece.data(), 1, size, handle.file) != size ||
            std::fwrite(piece.data(), 1, size, out) != size) {
            return false;
        }
        left -= size;
    }
    return true;
}

} // namespace velkaro::gis
