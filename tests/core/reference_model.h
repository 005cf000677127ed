#pragma once

#include "conversion_run.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro::test {

// A second, deliberately plain implementation of Parts 1.1 and 1.2, written from the rules and
// sharing no code with the core: it holds the whole source in memory, translates it in one pass
// and cuts it with string operations. The fuzzer and the hostile-input tests compare the core's
// outputs and counts with it byte for byte.
struct ModelRun {
    std::uint64_t linesTaken = 0;    // the points a run must write
    std::uint64_t stoppedAtLine = 0; // as ConversionOutcome::stoppedAtLine
    std::string output;              // the exact bytes of the output file
};

[[nodiscard]] ModelRun modelConversion(std::string_view sourceBytes, TargetFormat format);

// The DXF number of a field: the atof grammar (d/D exponents, no hex, inf or nan) converted by
// the C library's correctly rounded strtod, then "%f" by this system's rounding rule (17
// significant digits, then six decimals) worked on the exact decimal expansion that glibc's printf
// gives at full precision.
[[nodiscard]] std::string modelFixed6(std::string_view field);

} // namespace velkaro::test
