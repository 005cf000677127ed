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

// Follows symbolic links at path to the file they finally name, which need not exist yet. A
// chain longer than the system itself follows, or a loop, gives nullopt.
[[nodiscard]] std::optional<fs::path> followLinks(fs::path path) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) {
            return path;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
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
    const std::optional<fs::path> written = followLinks(toFileSystemPath(m_finalPath));
    if (!written) {
        m_refusal = FailureReason::LinkLoop;
        return false;
    }
    std::string temporaryFolder = m_folder;
    m_writtenPath = m_finalPath;
    if (*written != toFileSystemPath(m_finalPath)) {
        m_writtenPath = toNarrowName(*written);
        temporaryFolder = toNarrowName(written->parent_path());
    }
    std::error_code error;
    const fs::file_status status = fs::status(*written, error);
    std::optional<ReplacedFile> replaced;
    if (fs::is_directory(status)) {
        m_refusal = FailureReason::IsFolder;
        return false;
    }
    if (fs::exists(status)) {
        if (const std::optional<SystemError> refusal = writeRefusal(m_writtenPath, status)) {
            m_error = *refusal;
            m_refusal = *refusal ? reasonOf(*refusal) : FailureReason::ReadOnlyFile;
            return false;
        }
        replaced = attributesOf(m_writtenPath);
    }
    m_temporary.emplace(std::move(temporaryFolder));
    if (!m_temporary->create(replaced)) {
        m_error = m_temporary->error();
        return false;
    }
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
