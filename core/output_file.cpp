#include "output_file.h"

#include "file_system_path.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace velkaro {
namespace fs = std::filesystem;

std::string joinPath(const std::string &folder, const std::string &name) {
    if (folder.empty()) {
        return name;
    }
#ifdef _WIN32
    // Windows paths read back with the system's own separator; "D:" names the drive's current
    // folder, so nothing may come between it and the name.
    const char last = folder.back();
    const bool ended = last == '/' || last == '\\' || last == ':';
    return ended ? folder + name : folder + '\\' + name;
#else
    return folder.back() == '/' ? folder + name : folder + '/' + name;
#endif
}

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

// Writing this file would be refused to this process, or nobody may write it: a protection
// that replacing the file by a rename would otherwise step over.
[[nodiscard]] bool isReadOnly(const std::string &path, const fs::file_status &status) {
    constexpr fs::perms kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kWrite) == fs::perms::none) {
        return true;
    }
#ifdef _WIN32
    (void)path;
    return false;
#else
    return access(path.c_str(), W_OK) != 0;
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
        return false;
    }
    if (fs::exists(status)) {
        if (isReadOnly(m_writtenPath, status)) {
            return false;
        }
        replaced = attributesOf(m_writtenPath);
    }
    m_temporary.emplace(std::move(temporaryFolder));
    return m_temporary->create(replaced);
}

bool OutputFile::close() {
    return m_temporary && m_temporary->close();
}

bool OutputFile::commit() {
    return m_temporary && m_temporary->moveTo(m_writtenPath);
}

} // namespace velkaro
