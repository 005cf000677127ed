#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace velkaro {

// folder + name, with one separator between them; just name when folder is empty. On Windows the
// separator is a backslash and a folder ending in "/", "\\" or a drive's ":" needs none; elsewhere
// only "/" separates ("\\" may end a GBK character in a folder's name).
[[nodiscard]] std::string joinPath(const std::string &folder, const std::string &name);

// An output file that appears under its name only when it is complete. The bytes go into a
// temporary file in the same folder; commit() closes it and moves it over the final name in one
// step, so a failed run leaves neither a partial output nor a damaged earlier one. A file that
// is never committed is closed and removed when the object goes away.
class OutputFile {
  public:
    // folder: where the output goes, empty for the current directory; name: the bare file name.
    OutputFile(std::string folder, const std::string &name);
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile();

    // Creates the temporary file. False when the folder cannot take a new file, or when the
    // final name is held by a folder (which a file could never be moved over).
    [[nodiscard]] bool create();
    // The open temporary file, owned by this object; null before create() succeeded.
    [[nodiscard]] std::FILE *file() const { return m_file.get(); }
    // Closes the temporary file; false when closing failed (the bytes may not have reached it).
    [[nodiscard]] bool close();
    // Moves the closed temporary file over the final name; false when that failed.
    [[nodiscard]] bool commit();

    [[nodiscard]] const std::string &finalPath() const { return m_finalPath; }

  private:
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    [[nodiscard]] std::string uniqueTemporaryPath() const;

    std::string m_folder;
    std::string m_finalPath;
    std::string m_temporaryPath;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    bool m_committed = false;
};

} // namespace velkaro
