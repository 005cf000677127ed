#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velkaro::test {

// The shared source of the tests: two points in CR LF lines, the second with a NULL code.
inline const std::string kSource = "1,2,P1,K1,10.5,20.5,3.0\r\n1,2,P2,NULL,11,21,4\r\n";

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
