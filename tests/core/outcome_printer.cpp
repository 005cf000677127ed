#include "outcome_printer.h"

#include "identifiers.h"

namespace velkaro {

std::ostream &operator<<(std::ostream &out, const ConversionOutcome &outcome) {
    out << wording::outcomeId(outcome.kind);
    if (outcome.failure) {
        out << " " << outcome.failure->path << ": " << wording::reasonId(outcome.failure->reason)
            << " (" << outcome.failure->error.code << ")";
    }
    for (const WarningKind warning : warningsOf(outcome)) {
        out << " [" << wording::warningId(warning) << "]";
    }
    return out;
}

} // namespace velkaro
