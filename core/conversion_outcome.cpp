#include "conversion_outcome.h"

namespace velkaro {
namespace {

[[nodiscard]] WarningKind stopWarning(StopReason stop) {
    switch (stop) {
    case StopReason::ZeroByte:
        return WarningKind::StoppedAtZeroByte;
    case StopReason::EndOfFileByte:
        return WarningKind::StoppedAtEndOfFileByte;
    case StopReason::EndOfFile:
    case StopReason::ShortLine:
        break;
    }
    return WarningKind::StoppedAtShortLine;
}

} // namespace

std::vector<WarningKind> warningsOf(const ConversionOutcome &outcome) {
    std::vector<WarningKind> warnings;
    if (outcome.kind != ConversionOutcome::Kind::Converted) {
        return warnings;
    }
    const ReadingReport &reading = outcome.reading;
    const auto add = [&warnings](bool applies, WarningKind kind) {
        if (applies) {
            warnings.push_back(kind);
        }
    };
    add(outcome.pointsWritten == 0, WarningKind::NoPoints);
    add(reading.stoppedAtLine != 0, stopWarning(reading.stop));
    add(!reading.zeroBytes.empty(), WarningKind::ZeroBytesInLines);
    add(reading.notText, WarningKind::NotText);
    add(!reading.withoutCoordinates.empty(), WarningKind::LinesWithoutCoordinates);
    add(!reading.carriedOver.empty(), WarningKind::FieldsCarriedOver);
    add(!reading.leftOut.empty(), WarningKind::LinesLeftOut);
    add(!reading.longLines.empty(), WarningKind::LongLines);
    add(reading.axesSwapped, WarningKind::AxesSwapped);
    add(reading.heightLikeCoordinate, WarningKind::HeightLikeCoordinate);
    add(!reading.unrepresentable.empty(), WarningKind::Unrepresentable);
    add(outcome.gisFormat && !outcome.crs, WarningKind::WithoutCrs);
    add(!reading.shortenedTexts.empty(), WarningKind::TextsShortened);
    return warnings;
}

} // namespace velkaro
