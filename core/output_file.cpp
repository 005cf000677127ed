#include "output_file.h"

#include "file_names.h"
#include "file_system_path.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace velkaro {
namespace fs = std::filesystem;

namespace {

// Where the bytes for a name go: the file that the links at the name finally lead to, or why
// they are not followed.
struct LinkEnd {
    fs::path path;                                  // the last name reached
    FailureReason refusal = FailureReason::Unknown; // Unknown: path is where the bytes go
};

// Whether the kernel itself would follow the link at path when asked to create a file through
// it (fs.protected_symlinks): in a sticky folder that everyone may write to (/tmp, a shared drop
// folder) only a link that belongs to this user or to the folder's owner. Anybody can plant a
// link there, and following it would let them choose which file this process replaces.
[[nodiscard]] bool isTrustedLink(const fs::path &path) {
#ifdef _WIN32
    (void)path;
    return true;
#else
    struct stat link {};
    struct stat folder {};
    const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (lstat(path.c_str(), &link) != 0 || stat(parent.c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
#endif
}

// Follows symbolic links at path to the file they finally name, which need not exist yet. A
// chain longer than the system itself follows, or a loop, is refused as LinkLoop; a link the
// kernel would not follow in a shared folder as UntrustedLink.
[[nodiscard]] LinkEnd followLinks(fs::path path) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) {
            return {path};
        }
        if (!isTrustedLink(path)) {
            return {path, FailureReason::UntrustedLink};
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return {path, FailureReason::LinkLoop};
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return {path, FailureReason::LinkLoop};
}

// Why writing this file would be refused to this process, or why nobody may write it: a
// protection that replacing the file by a rename would otherwise step over. No error: the file
// has no write bit at all (read-only). Nullopt when it may be written.
[[nodiscard]] std::optional<SystemError> writeRefusal(const std::string &path,
                                                      const fs::file_status &status) {
    constexpr fs::perms kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kWrite) == fs::perms::none) {
        return SystemError{};
    }
#ifdef _WIN32
    (void)path;
    return std::nullopt;
#else
    errno = 0;
    if (access(path.c_str(), W_OK) == 0) {
        return std::nullopt;
    }
    // Write bits that are not this user's, or a read-only mount: the system's error says which.
    return SystemError::fromErrno();
#endif
}

[[nodiscard]] std::optional<ReplacedFile> attributesOf(const std::string &path) {
#ifdef _WIN32
    (void)path;
    return std::nullopt;
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return ReplacedFile{status.st_mode, status.st_uid, status.st_gid};
#endif
}

} // namespace

OutputFile::OutputFile(std::string folder, const std::string &name)
    : m_folder(std::move(folder)), m_finalPath(joinPath(m_folder, name)) {}

bool OutputFile::create() {
    const LinkEnd written = followLinks(toFileSystemPath(m_finalPath));
    std::string temporaryFolder = m_folder;
    m_writtenPath = m_finalPath;
    if (written.path != toFileSystemPath(m_finalPath)) {
        m_writtenPath = toNarrowName(written.path);
        temporaryFolder = toNarrowName(written.path.parent_path());
    }
    if (written.refusal != FailureReason::Unknown) {
        m_refusal = written.refusal;
        return false;
    }
    std::optional<ReplacedFile> replaced;
    if (!checkReplaceable(written.path, replaced)) {
        return false;
    }
    m_temporary.emplace(std::move(temporaryFolder));
    if (!m_temporary->create(replaced)) {
        m_error = m_temporary->error();
        return false;
    }
    return true;
}

bool OutputFile::checkReplaceable(const fs::path &written, std::optional<ReplacedFile> &replaced) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(written, error);
    if (!fs::exists(status)) {
        return true;
    }
    if (!fs::is_regular_file(status)) {
        // A rename would put a file where a folder, a FIFO, a device or a socket was.
        m_refusal =
            fs::is_directory(status) ? FailureReason::IsFolder : FailureReason::NotRegularFile;
        return false;
    }
    if (const std::optional<SystemError> refusal = writeRefusal(m_writtenPath, status)) {
        m_error = *refusal;
        m_refusal = *refusal ? reasonOf(*refusal) : FailureReason::ReadOnlyFile;
        return false;
    }
    replaced = attributesOf(m_writtenPath);
    return true;
}

bool OutputFile::close() {
    if (m_temporary && m_temporary->close()) {
        return true;
    }
    m_error = m_temporary ? m_temporary->error() : SystemError{};
    return false;
}

bool OutputFile::commit(FolderSync sync) {
    if (m_temporary && m_temporary->moveTo(m_writtenPath, sync)) {
        return true;
    }
    m_error = m_temporary ? m_temporary->error() : SystemError{};
    return false;
}

FileFailure OutputFile::failure() const {
    const std::string &path = m_writtenPath.empty() ? m_finalPath : m_writtenPath;
    if (m_refusal != FailureReason::Unknown) {
        return FileFailure{path, m_refusal, m_error};
    }
    return failureOf(path, m_error);
}

} // namespace velkaro
