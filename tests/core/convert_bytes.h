#pragma once

#include "conversion_run.h"

#include <string>
#include <string_view>

namespace velkaro::test {

// Converts source bytes to one format through runConversion in a fresh folder and returns the
// output's bytes. Fails the calling test when the run does not report Converted.
[[nodiscard]] std::string convertBytes(std::string_view source, TargetFormat format,
                                       const ConversionOptions &options = {});

} // namespace velkaro::test
