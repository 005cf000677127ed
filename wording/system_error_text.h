#pragma once

#include "system_error.h"

#include <string>

namespace velkaro::wording {

// The system's own description of an error, as UTF-8 without a trailing line break: strerror's
// text for errno values, FormatMessage's for Windows errors. Empty for no error.
[[nodiscard]] std::string systemErrorText(SystemError error);

} // namespace velkaro::wording
