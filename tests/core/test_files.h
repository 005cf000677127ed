#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velkaro::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    ~TempDir();

    [[nodiscard]] const std::filesystem::path &path() const { return m_path; }
    // The folder, and the path of name inside it, as the file system's narrow bytes (what the
    // core takes).
    [[nodiscard]] std::string folder() const;
    [[nodiscard]] std::string file(std::string_view name) const;

  private:
    std::filesystem::path m_path;
};

void writeBytes(const std::string &path, std::string_view bytes);
[[nodiscard]] std::string readBytes(const std::string &path);
// Names of the entries of a folder, sorted, so a test can tell that nothing else was left there.
[[nodiscard]] std::string listFolder(const std::filesystem::path &folder);
// A golden file of tests/data.
[[nodiscard]] std::string goldenPath(std::string_view name);

} // namespace velkaro::test
