#pragma once

#include "output_file.h"
#include "system_error.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace velkaro::gis {

// The files of one GIS output (one for most formats, five for a Shapefile), each written into a
// temporary file of the output folder and put in place only by finish(). The first file added
// is the main one: it is put in place last, so that a reader never finds it without the others.
class LayerFiles {
  public:
    explicit LayerFiles(std::string folder);

    // Adds a file by its bare name before create(); returns its index for file() and path().
    std::size_t add(const std::string &name);
    // Creates every temporary file; false when one cannot be, with failure() saying which.
    [[nodiscard]] bool create();
    // The open temporary file of index; owned here; null before create() succeeded.
    [[nodiscard]] std::FILE *file(std::size_t index) const { return m_files[index]->file(); }
    // The final path of index (the folder joined with its name).
    [[nodiscard]] const std::string &path(std::size_t index) const {
        return m_files[index]->finalPath();
    }
    // Keeps a failed write of index, reported by finish() as it stands.
    void noteWriteFailure(std::size_t index, SystemError error);
    // Flushes and closes every file, then puts them in place, the main one last. False when a
    // write failed before, or when closing or committing failed.
    [[nodiscard]] bool finish(FolderSync sync);

    [[nodiscard]] const FileFailure &failure() const { return m_failure; }
    [[nodiscard]] bool failedCommitting() const { return m_failedCommitting; }
    [[nodiscard]] std::string folderToSync() const;

  private:
    std::string m_folder;
    std::vector<std::unique_ptr<OutputFile>> m_files;
    FileFailure m_failure;
    bool m_failed = false;
    bool m_failedCommitting = false;
};

} // namespace velkaro::gis
