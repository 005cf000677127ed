#pragma once

#include "system_error.h"
#include "temporary_file.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velkaro {

// An output file that appears under its name only when it is complete and on the disk. The bytes
// go into a TemporaryFile in the folder of the file finally written; commit() moves it over that
// file in one step, so a failed or interrupted run leaves neither a partial output nor a damaged
// earlier one. An earlier output is replaced as it was protected: a symbolic link at the name is
// written through (its target is replaced, the link stays) where the kernel itself would follow
// it, the permission bits, owner and group carry over (never the set-user-ID and set-group-ID
// bits), and a read-only output is refused, as is anything but a regular file at the name. A file
// with several hard links gets a new file under this one name; its other names keep the earlier
// content.
class OutputFile {
  public:
    // folder: where the output goes, empty for the current directory; name: the bare file name.
    OutputFile(std::string folder, const std::string &name);
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile() = default;

    // Creates the temporary file. False when the folder cannot take a new file, when the final
    // name is held by anything but a regular file (a folder, a FIFO, a device, a socket), when a
    // link at the name lies in a shared sticky folder and belongs neither to this user nor to
    // the folder's owner, or when the output it would replace is read-only: no write permission
    // for this process, or no write bit at all.
    [[nodiscard]] bool create();
    // The open temporary file, owned by this object; null before create() succeeded.
    [[nodiscard]] std::FILE *file() const { return m_temporary ? m_temporary->file() : nullptr; }
    // Flushes the temporary file to the disk and closes it; false when that failed (the bytes
    // may not have reached it).
    [[nodiscard]] bool close();
    // Moves the closed temporary file over the final file; false when that failed. With
    // FolderSync::Later the caller flushes syncFolder(folderToSync()) before reporting it.
    [[nodiscard]] bool commit(FolderSync sync = FolderSync::Now);
    // The folder that holds the file's entry: the output folder, or a linked file's own.
    [[nodiscard]] std::string folderToSync() const {
        return m_temporary ? m_temporary->folder() : m_folder;
    }

    // The name asked for (folder joined with name), also when a link leads elsewhere.
    [[nodiscard]] const std::string &finalPath() const { return m_finalPath; }
    // Why the step that returned false failed: the file (the link's target where the bytes go
    // through a link), the reason and the system's error.
    [[nodiscard]] FileFailure failure() const;

  private:
    // Whether the file at written may be replaced; replaced gets its attributes when it exists.
    [[nodiscard]] bool checkReplaceable(const std::filesystem::path &written,
                                        std::optional<ReplacedFile> &replaced);

    std::string m_folder;
    std::string m_finalPath;
    std::string m_writtenPath; // where the bytes go: finalPath, or the target of a link there
    std::optional<TemporaryFile> m_temporary;
    FailureReason m_refusal = FailureReason::Unknown; // a refusal of create() without an error
    SystemError m_error;
};

} // namespace velkaro
