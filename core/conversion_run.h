#pragma once

#include "conversion_outcome.h"
#include "conversion_request.h"

#include <optional>

namespace velkaro {

// NoSource, NoFormat or InvalidOptions when the request cannot run at all (in that order of
// precedence), nullopt when it can. Touches no file.
[[nodiscard]] std::optional<ConversionOutcome> checkRequest(const ConversionRequest &request);

// One whole conversion. Checks the request before touching the file system (NoSource before
// NoFormat), opens the source, writes the output into a temporary file beside its final name and
// moves it there only after everything was written, flushed to the disk and closed, and only
// when the source did not change while it was read. Never throws: running out of memory is the
// outcome OutOfMemory, any other exception Unexpected.
[[nodiscard]] ConversionOutcome runConversion(const ConversionRequest &request) noexcept;

} // namespace velkaro
