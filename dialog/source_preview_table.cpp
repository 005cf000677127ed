#include "source_preview_table.h"

#include "outcome_text.h"
#include "point_preview.h"
#include "text_recoder.h"

namespace velkaro::dialog {
namespace {

// Source text is GBK unless it was read as UTF-8.
[[nodiscard]] std::string shown(const std::string &text, SourceEncoding encoding) {
    return encoding == SourceEncoding::Utf8 ? text : codePageToUtf8(text, 936);
}

[[nodiscard]] std::string noteOf(const SourcePreview &preview) {
    ConversionOutcome outcome(preview.failure == DetectionFailure::None
                                  ? ConversionOutcome::Kind::Converted
                                  : ConversionOutcome::Kind::LayoutUndecided);
    outcome.layout = preview.layout;
    outcome.oldLayoutFound = preview.oldLayoutFound;
    outcome.encoding = preview.encoding;
    outcome.layoutFailure = preview.failure;
    if (preview.failure != DetectionFailure::None) {
        const std::string text =
            wording::outcomeText(outcome, [](std::string_view name) { return std::string(name); });
        return text.substr(text.find('\n') + 1); // the reason and the advice, not the headline
    }
    const std::string layout = wording::layoutText(outcome);
    return layout.empty() ? "按原程序的方式读取" : layout;
}

} // namespace

PreviewTable previewTable(std::string_view head, const ConversionOptions &options) {
    const SourcePreview preview = previewSource(head, options, kPreviewPoints);
    PreviewTable table{{"点名", "编码", "X", "Y", "H"}, {}, noteOf(preview)};
    for (const PreviewPoint &point : preview.points) {
        table.rows.push_back({shown(point.name, preview.encoding),
                              shown(point.code, preview.encoding), point.x, point.y, point.z});
    }
    return table;
}

} // namespace velkaro::dialog
