#pragma once

#include "conversion_run.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro {

// One conversion of a run of several, as planned before any of them writes.
struct PlannedConversion {
    ConversionRequest request;
    std::string outputFileName;               // the bare name of the output
    std::string outputPath;                   // the output folder joined with that name
    std::optional<ConversionOutcome> refusal; // set: this conversion must not run; why
};

// Plans a run of conversions in their order, so that no conversion destroys what another one
// needs: a conversion whose output is a source of the run (other than its own, which
// runConversion refuses itself) is refused with OutputIsSource, whatever the order, since
// writing it would replace field data before or after it is read; a conversion whose output an
// earlier conversion of the run writes is refused with DuplicateOutput, since it would silently
// replace that output. Both name the other source in conflictingSource. Requests that cannot run at
// all carry NoSource or NoFormat. Outputs and sources are compared by file identity where they
// exist and by folder and name where they do not (see locationKey). Reads the file system's
// metadata only; writes nothing. May throw std::bad_alloc.
[[nodiscard]] std::vector<PlannedConversion>
planConversions(const std::vector<ConversionRequest> &requests);

} // namespace velkaro
