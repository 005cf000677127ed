#include "reading_plan.h"

#include "layout_fields.h"

#include <algorithm>

namespace velkaro {
namespace {

[[nodiscard]] ReadingPlan givenLayout(const SourceReading &reading, std::string_view head) {
    ReadingPlan plan;
    plan.layout = reading.layout;
    // As auto cuts, but a layout of two fields (x and y) may have lines of two.
    const std::size_t fields = std::min(kDetectionFields, reading.layout.roles.size());
    plan.layout->separator =
        separatorOf(firstLines(head, kDetectionLines), fields).value_or(FieldSeparator::CommaOrTab);
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
