#include "temporary_file.h"

#include "abandoned_temporaries.h"
#include "file_names.h"
#include "file_system_path.h"
#include "folder_sync.h"
#include "interruption_cleanup.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include "windows_api.h"
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velkaro {
namespace fs = std::filesystem;
namespace {

// A different value on every call in this process, and different between processes that start
// at different times; the file is created exclusively anyway.
[[nodiscard]] std::uint64_t nextTemporaryTag() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t tag =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    tag ^= (counter.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ULL;
    tag ^= tag >> 29;
    return tag * 0xBF58476D1CE4E5B9ULL;
}

// Creates path, failing with EEXIST in errno when it exists; error gets the system's error. On
// Windows the file is shared for deletion, so that InterruptionCleanup can remove it while it is
// still open.
[[nodiscard]] int openExclusive(const std::string &path, int mode, SystemError &error) {
#ifdef _WIN32
    (void)mode;
    const HANDLE handle = CreateFileW(toFileSystemPath(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = SystemError::fromLastError();
        errno = GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
        return -1;
    }
    const int descriptor =
        _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
    }
    return descriptor;
#else
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        error = SystemError::fromErrno();
    }
    return descriptor;
#endif
}

[[nodiscard]] bool syncToDisk(std::FILE *file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

#ifndef _WIN32
[[nodiscard]] std::string descriptorPath(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

void giveAttributes(int descriptor, const ReplacedFile &replaced) {
    // The owner first, then the mode. The set-user-ID and set-group-ID bits never carry over: a
    // conversion output is no program, and a file that runs with its owner's rights must not
    // appear because somebody planted one under an output's name.
    if (fchown(descriptor, replaced.owner, replaced.group) != 0) {
        [[maybe_unused]] const int ignored =
            fchown(descriptor, static_cast<uid_t>(-1), replaced.group);
    }
    [[maybe_unused]] const int ignored = fchmod(descriptor, replaced.mode & 01777);
}
#endif

} // namespace

TemporaryFile::TemporaryFile(std::string folder) : m_folder(std::move(folder)) {}

TemporaryFile::~TemporaryFile() {
    m_file.reset();
#ifndef _WIN32
    if (m_unnamed >= 0) {
        ::close(m_unnamed); // an unnamed file that was never linked vanishes with it
    }
#endif
    if (!m_moved && !m_path.empty()) {
        std::error_code ignored;
        fs::remove(toFileSystemPath(m_path), ignored);
    }
    AbandonedTemporaries::release(m_hold); // the file is gone or has its final name
    InterruptionCleanup::release(m_slot);
}

std::string TemporaryFile::uniqueName() const {
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t tag = nextTemporaryTag();
    std::string name = ".velkaro-";
    for (int i = 0; i < 16; ++i, tag >>= 4) {
        name += kHex[tag & 15];
    }
    name += ".tmp";
    return joinPath(m_folder, name);
}

int TemporaryFile::openUnnamed([[maybe_unused]] int mode) {
#if defined(__linux__) && defined(O_TMPFILE)
    const int descriptor =
        ::open(m_folder.empty() ? "." : m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (descriptor < 0) {
        return -1; // the file system cannot (vfat, NFS, older kernels): a named file does
    }
    // Without /proc the file could only be linked with a privilege the process may lack.
    if (access(descriptorPath(descriptor).c_str(), F_OK) != 0) {
        ::close(descriptor);
        return -1;
    }
    m_unnamed = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (m_unnamed < 0) {
        ::close(descriptor);
    } else {
        // Locked before it gets a temporary name on the way to replacing an earlier file.
        [[maybe_unused]] const bool locked = AbandonedTemporaries::markAlive(m_unnamed);
    }
    return m_unnamed < 0 ? -1 : descriptor;
#else
    return -1;
#endif
}

int TemporaryFile::openNamed(int mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = uniqueName();
        // Registered before it exists, so that no moment is left in which an interruption
        // would leave it behind.
        m_slot = InterruptionCleanup::add(path);
        const int descriptor = openExclusive(path, mode, m_error);
        if (descriptor >= 0) {
            m_path = std::move(path);
            m_hold = AbandonedTemporaries::hold(descriptor, m_path);
            return descriptor;
        }
        InterruptionCleanup::release(m_slot);
        m_slot = -1;
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

bool TemporaryFile::create(const std::optional<ReplacedFile> &replaced) {
    AbandonedTemporaries::removeIn(m_folder);
    // A replacement starts private and gets the old file's bits once its owner is set.
    const int mode = replaced ? 0600 : 0666;
    int descriptor = openUnnamed(mode);
    if (descriptor < 0) {
        descriptor = openNamed(mode);
    }
    if (descriptor < 0) {
        return false;
    }
    errno = 0;
#ifdef _WIN32
    m_file.reset(_fdopen(descriptor, "wb"));
    if (!m_file) {
        _close(descriptor);
    }
#else
    if (replaced) {
        giveAttributes(descriptor, *replaced);
    }
    m_file.reset(fdopen(descriptor, "wb"));
    if (!m_file) {
        ::close(descriptor);
    }
#endif
    if (!m_file) {
        m_error = SystemError::fromErrno();
        return false;
    }
    // The output's writer gathers 64 KiB at a time itself: with a buffer of the file's own as
    // well, each of those would reach the system as two writes, part of it copied once more.
    std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
    return true;
}

bool TemporaryFile::close() {
    std::FILE *file = m_file.release();
    if (file == nullptr) {
        return false;
    }
    errno = 0;
    const bool synced = std::fflush(file) == 0 && syncToDisk(file);
    if (!synced) {
        m_error = SystemError::fromErrno();
    }
    const bool closed = std::fclose(file) == 0;
    if (synced && !closed) {
        m_error = SystemError::fromErrno();
    }
    return closed && synced;
}

bool TemporaryFile::linkUnnamed(const std::string &path) {
#ifndef _WIN32
    const auto link = [this](const std::string &name) {
        if (linkat(AT_FDCWD, descriptorPath(m_unnamed).c_str(), AT_FDCWD, name.c_str(),
                   AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
#ifdef AT_EMPTY_PATH
        return errno == ENOENT && linkat(m_unnamed, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
#else
        return false;
#endif
    };
    if (link(path)) {
        return true; // there was no file of that name
    }
    // A link cannot replace a file: link it under a temporary name, then rename that.
    for (int attempt = 0; attempt < 100 && errno == EEXIST; ++attempt) {
        std::string name = uniqueName();
        m_slot = InterruptionCleanup::add(name);
        if (link(name)) {
            m_path = std::move(name);
            return renameNamed(path);
        }
        InterruptionCleanup::release(m_slot);
        m_slot = -1;
    }
    m_error = SystemError::fromErrno();
#else
    (void)path;
#endif
    return false;
}

#ifdef _WIN32
namespace {

// Whether another program holds path open without letting others delete it (CASS keeps its
// .dat open): Windows then refuses the replacement with "access denied", which would send the
// user looking for a permission that is in fact there.
[[nodiscard]] bool isHeldOpen(const std::string &path) {
    const HANDLE handle = CreateFileW(toFileSystemPath(path).c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

} // namespace
#endif

bool TemporaryFile::renameNamed(const std::string &path) {
#ifdef _WIN32
    if (MoveFileExW(toFileSystemPath(m_path).c_str(), toFileSystemPath(path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    m_error = SystemError::fromLastError();
    if (m_error.code == ERROR_ACCESS_DENIED && isHeldOpen(path)) {
        m_error.code = ERROR_SHARING_VIOLATION;
    }
    return false;
#else
    if (::rename(m_path.c_str(), path.c_str()) == 0) {
        return true;
    }
    m_error = SystemError::fromErrno();
    return false;
#endif
}

bool TemporaryFile::moveTo(const std::string &path, FolderSync sync) {
    if (m_file || (m_unnamed < 0 && m_path.empty())) {
        return false; // still open, or never created
    }
    m_moved = m_unnamed >= 0 ? linkUnnamed(path) : renameNamed(path);
    if (m_moved) {
        InterruptionCleanup::release(m_slot); // the name it held is the output's now
        m_slot = -1;
        if (sync == FolderSync::Now) {
            syncFolder(m_folder);
        }
    }
    return m_moved;
}

} // namespace velkaro
