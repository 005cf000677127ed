#pragma once

// Helpers for the hostile-input tests (POSIX only): snapshots that prove a source untouched,
// child processes with a time limit or without root's privileges, the converter run as a
// program, and a small memory file system that fills up.

#include "outcome_printer.h"
#include "test_files.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkaro::test {

// The bytes, size and modification time (to the nanosecond) of a file, taken before a run.
class FileSnapshot {
  public:
    explicit FileSnapshot(std::string path);
    // Empty when the file is as it was; otherwise what changed.
    [[nodiscard]] std::string changes() const;

  private:
    std::string m_path;
    std::string m_bytes;
    std::int64_t m_mtimeNs = 0;
    std::int64_t m_size = 0;
};

// How a child process ended.
struct ChildEnd {
    int exitCode = -1; // -1 when it did not exit by itself
    bool timedOut = false;
    double seconds = 0;
};

// Runs body in a forked child and returns how it ended; body's result is the exit code. A child
// still running after limit is killed (timedOut). With asNobody, a root child first drops to the
// user and group nobody (65534), so that permission bits apply to it.
[[nodiscard]] ChildEnd runInChild(const std::function<int()> &body, bool asNobody = false,
                                  std::chrono::seconds limit = std::chrono::seconds(60));

[[nodiscard]] bool runningAsRoot();
// Whether runInChild(..., asNobody = true) works here: false only for a root without the
// right to change its user (some containers).
[[nodiscard]] bool canRunAsNobody();

// velkaro-convert run by the shell inside a folder, its output and error streams captured.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The converter of this build (VELKARO_BIN).
[[nodiscard]] std::string converterPath();
// Runs `prefix converter arguments...` in folder; each argument is quoted for the shell.
// converter defaults to converterPath().
[[nodiscard]] ProgramRun runConverter(const std::filesystem::path &folder,
                                      const std::vector<std::string> &arguments,
                                      const std::string &prefix = {},
                                      const std::string &converter = {});
[[nodiscard]] std::string shellQuoted(const std::string &text);
// What a shell command (a reader such as GDAL's ogrinfo, PROJ's cs2cs) prints on its standard
// output; throws when it cannot run or fails, so that a missing reader fails the test rather than
// passing it.
[[nodiscard]] std::string commandOutput(const std::string &command);

// A tmpfs of a few kilobytes mounted on a fresh folder (root only); unmounted at the end.
class SmallDisk {
  public:
    SmallDisk(const TempDir &dir, const std::string &options);
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    ~SmallDisk();

    [[nodiscard]] bool mounted() const { return m_mounted; }
    [[nodiscard]] const std::string &path() const { return m_path; }

  private:
    std::string m_path;
    bool m_mounted = false;
};

// Fills the file at path with bytes until the disk is full; returns how many were written.
std::uint64_t fillDisk(const std::string &path);

} // namespace velkaro::test
