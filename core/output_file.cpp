#include "output_file.h"

#include "file_system_path.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <system_error>

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

// A different value on every call in this process, and different between processes that start
// at different times; uniqueness is checked against the folder anyway.
[[nodiscard]] std::uint64_t nextTemporaryTag() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t tag =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    tag ^= (counter.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ULL;
    tag ^= tag >> 29;
    return tag * 0xBF58476D1CE4E5B9ULL;
}

} // namespace

OutputFile::OutputFile(std::string folder, const std::string &name)
    : m_folder(std::move(folder)), m_finalPath(joinPath(m_folder, name)) {}

OutputFile::~OutputFile() {
    if (!m_committed && !m_temporaryPath.empty()) {
        m_file.reset();
        std::error_code ignored;
        fs::remove(toFileSystemPath(m_temporaryPath), ignored);
    }
}

std::string OutputFile::uniqueTemporaryPath() const {
    static constexpr char kHex[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t tag = nextTemporaryTag();
        std::string name = ".velkaro-";
        for (int i = 0; i < 16; ++i, tag >>= 4) {
            name += kHex[tag & 15];
        }
        name += ".tmp";
        std::string path = joinPath(m_folder, name);
        std::error_code error;
        if (!fs::exists(toFileSystemPath(path), error) && !error) {
            return path;
        }
    }
    return {};
}

bool OutputFile::create() {
    std::error_code error;
    if (fs::is_directory(toFileSystemPath(m_finalPath), error)) {
        return false;
    }
    m_temporaryPath = uniqueTemporaryPath();
    if (m_temporaryPath.empty()) {
        return false;
    }
    m_file.reset(std::fopen(m_temporaryPath.c_str(), "wb"));
    if (!m_file) {
        m_temporaryPath.clear(); // nothing was created, so there is nothing to remove
        return false;
    }
    return true;
}

bool OutputFile::close() {
    std::FILE *file = m_file.release();
    return file != nullptr && std::fclose(file) == 0;
}

bool OutputFile::commit() {
    if (m_file || m_temporaryPath.empty()) {
        return false; // still open, or never created
    }
    std::error_code error;
    fs::rename(toFileSystemPath(m_temporaryPath), toFileSystemPath(m_finalPath), error);
    m_committed = !error;
    return m_committed;
}

} // namespace velkaro
