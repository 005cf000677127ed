#include "reading_plan.h"

#include "layout_fields.h"

namespace velkaro {
namespace {

// A layout given needs no more than two fields a line, x and y.
constexpr std::size_t kGivenLayoutFields = 2;

[[nodiscard]] ReadingPlan givenLayout(const SourceReading &reading, std::string_view head) {
    ReadingPlan plan;
    plan.layout = reading.layout;
    plan.layout->separator = separatorOf(firstLines(head, kDetectionLines), kGivenLayoutFields)
                                 .value_or(FieldSeparator::CommaOrTab);
    const bool marked = head.starts_with(kByteOrderMark);
    plan.encoding =
        reading.encoding.value_or(marked ? SourceEncoding::Utf8 : SourceEncoding::Bytes);
    return plan;
}

} // namespace

bool needsHead(const SourceReading &reading) {
    return reading.mode != SourceReading::Mode::Rtk;
}

ReadingPlan planReading(const SourceReading &reading, std::string_view head) {
    switch (reading.mode) {
    case SourceReading::Mode::Rtk:
        return {std::nullopt, reading.encoding.value_or(SourceEncoding::Bytes),
                DetectionFailure::None, false};
    case SourceReading::Mode::Layout:
        return givenLayout(reading, head);
    case SourceReading::Mode::Auto:
        break;
    }
    const LayoutDetection found = detectLayout(head);
    return {found.layout, reading.encoding.value_or(found.encoding), found.failure,
            found.oldLayout};
}

} // namespace velkaro
