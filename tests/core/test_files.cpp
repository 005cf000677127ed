#include "test_files.h"
#include "outcome_printer.h"

#include "file_system_path.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace velkaro::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = fs::temp_directory_path() /
             ("velkaro-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

std::string TempDir::folder() const {
    return toNarrowName(m_path);
}

std::string TempDir::file(std::string_view name) const {
    return toNarrowName(m_path / toFileSystemPath(std::string(name)));
}

void writeBytes(const std::string &path, std::string_view bytes) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot create " + path);
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readBytes(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    std::string bytes;
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, count);
    }
    std::fclose(file);
    return bytes;
}

std::string listFolder(const fs::path &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.push_back(toNarrowName(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    std::string list;
    for (const auto &name : names) {
        list += name + "\n";
    }
    return list;
}

std::string goldenPath(std::string_view name) {
    const char *root = std::getenv("VELKARO_TEST_DATA");
    return toNarrowName(toFileSystemPath(root ? root : "tests/data") / name);
}

} // namespace velkaro::test
