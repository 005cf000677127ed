#include "outcome_message.h"

#include "dialog_texts.h"
#include "outcome_text.h"
#include "warning_text.h"

#include <string>

namespace velkaro::dialog {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] MessageIcon iconOf(const ConversionOutcome &outcome) {
    switch (outcome.kind) {
    case Kind::NoSource:
    case Kind::SourceOpenFailed:
        return MessageIcon::None;
    case Kind::NoFormat:
        return MessageIcon::Exclamation;
    case Kind::Converted:
        return warningsOf(outcome).empty() ? MessageIcon::None : MessageIcon::Warning;
    default:
        return MessageIcon::Warning;
    }
}

} // namespace

Message outcomeMessage(const ConversionOutcome &outcome, const NameDecoder &decode) {
    Message message{wording::outcomeText(outcome, decode), {}, iconOf(outcome)};
    if (outcome.kind == Kind::Converted) {
        message.title = kConvertedTitle;
        message.text += "\n" + wording::pointsWrittenText(outcome.pointsWritten);
        if (const std::string crs = wording::crsText(outcome); !crs.empty()) {
            message.text += "\n" + crs;
        }
        for (const WarningKind warning : warningsOf(outcome)) {
            message.text += "\n" + wording::warningText(warning, outcome, kLineNumbersShown);
        }
    }
    return message;
}

Message helpFailedMessage() {
    return {std::string(kHelpFailedText), {}, MessageIcon::Exclamation};
}

} // namespace velkaro::dialog
