#pragma once

#include "conversion_outcome.h"

#include <ostream>

namespace velkaro {

// How a test failure shows an outcome: its identifier, the file and reason of a failure, the
// warnings' identifiers.
std::ostream &operator<<(std::ostream &out, const ConversionOutcome &outcome);

} // namespace velkaro
