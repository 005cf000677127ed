#include "existing_output.h"

#include "file_names.h"
#include "file_system_path.h"
#include "output_file.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace velkaro {
namespace {

namespace fs = std::filesystem;

[[nodiscard]] std::int64_t modifiedSeconds(const fs::path &path) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error) {
        return 0;
    }
    const auto system = fs::file_time_type::clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

} // namespace

std::optional<ExistingOutput> inspectExistingOutput(const std::string &folder,
                                                    const std::string &name) {
    const fs::path path = toFileSystemPath(joinPath(folder, name));
    std::error_code error;
    if (fs::symlink_status(path, error).type() == fs::file_type::not_found || error) {
        return std::nullopt;
    }
    ExistingOutput existing;
    existing.modifiedSeconds = modifiedSeconds(path);
    OutputFile trial(folder, name);
    if (!trial.create()) {
        existing.refusal = trial.failure();
    }
    return existing;
}

} // namespace velkaro
