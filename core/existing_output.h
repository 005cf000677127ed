#pragma once

#include "system_error.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velkaro {

// What stands at an output's name before a conversion replaces it.
struct ExistingOutput {
    // Last modification, in seconds since 1970-01-01 UTC (the file a link there leads to).
    std::int64_t modifiedSeconds = 0;
    // Why the conversion could not replace it (read-only, a folder, a device, ...), found by
    // the same checks the conversion makes; nullopt when it can.
    std::optional<FileFailure> refusal;
};

// Nullopt when nothing is at folder + name, not even a dangling link. Otherwise when it was last
// changed and whether a conversion could replace it. The check prepares the replacement as a
// conversion would and discards it: nothing is left behind and nothing is changed.
[[nodiscard]] std::optional<ExistingOutput> inspectExistingOutput(const std::string &folder,
                                                                  const std::string &name);

} // namespace velkaro
