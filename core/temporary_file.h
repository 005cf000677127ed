#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "system_error.h"

namespace velkaro {

// What an output being replaced had, for the file that replaces it: its permission bits, owner
// and group. Only POSIX systems keep them; elsewhere they are not used.
struct ReplacedFile {
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

// When the folder that received a file's name is flushed to the disk: at once, or by the caller
// (syncFolder), who may move several files there first and must flush before reporting them.
enum class FolderSync { Now, Later };

// A file written in a folder that appears under a name only once it is complete and on disk.
// On Linux it is created without a name (O_TMPFILE) where the file system allows it, so that no
// way of ending the process, SIGKILL and power cuts included, can leave it behind; it is linked
// into place when complete. Elsewhere it is a hidden ".velkaro-*.tmp" file in the same folder,
// which InterruptionCleanup removes when a signal ends the process; it is locked while it lives,
// so that the next run in the folder removes it when nothing could (AbandonedTemporaries). A file
// that was never moved into place is removed when the object goes away.
class TemporaryFile {
  public:
    // folder: where the file is created and later moved to; empty for the current folder.
    explicit TemporaryFile(std::string folder);
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile();

    // Creates the file; with replaced, it gets that file's permission bits, owner and group
    // (the owner and group where the process may give them), otherwise the permissions a new
    // file gets. False when the folder cannot take a new file.
    [[nodiscard]] bool create(const std::optional<ReplacedFile> &replaced);
    // The open file, owned by this object; null before create() and after close().
    [[nodiscard]] std::FILE *file() const { return m_file.get(); }
    // Flushes the file to the disk itself (fsync) and closes it; false when either failed.
    [[nodiscard]] bool close();
    // Puts the closed file at path, a name in the same folder, in one step (replacing a file of
    // that name), then flushes the folder so that the new name survives a power cut as well
    // (with FolderSync::Later the caller flushes folder()).
    [[nodiscard]] bool moveTo(const std::string &path, FolderSync sync = FolderSync::Now);
    // The folder the file is created and moved in; empty for the current one.
    [[nodiscard]] const std::string &folder() const { return m_folder; }
    // The system's error of the step that failed last.
    [[nodiscard]] SystemError error() const { return m_error; }

  private:
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    [[nodiscard]] int openUnnamed(int mode);
    [[nodiscard]] int openNamed(int mode);
    [[nodiscard]] bool linkUnnamed(const std::string &path);
    [[nodiscard]] bool renameNamed(const std::string &path);
    [[nodiscard]] std::string uniqueName() const;

    std::string m_folder;
    std::string m_path; // of a named file; empty for an unnamed one
    std::unique_ptr<std::FILE, FileCloser> m_file;
    int m_unnamed = -1;        // a descriptor that keeps an unnamed file alive until it is linked
    int m_slot = -1;           // of InterruptionCleanup, while a named file exists
    std::intptr_t m_hold = -1; // marks a named file as alive (AbandonedTemporaries)
    SystemError m_error;
    bool m_moved = false;
};

} // namespace velkaro
