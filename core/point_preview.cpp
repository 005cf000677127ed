#include "point_preview.h"

#include "layout_cutter.h"
#include "layout_fields.h"
#include "line_cutter.h"
#include "reading_plan.h"

#include <algorithm>
#include <utility>

namespace velkaro {
namespace {

[[nodiscard]] PreviewPoint pointOf(const PointRecord &record) {
    return {std::string(record.pointName), std::string(record.pointCode), std::string(record.x),
            std::string(record.y), std::string(record.z)};
}

// The lines of head as the reader takes them: CR LF as LF, a 0x1A ends the text, pieces of at
// most 255 bytes; each with the slack bytes the cutter may read past its end.
class HeadLines {
  public:
    explicit HeadLines(std::string_view head) : m_head(head.substr(0, head.find('\x1a'))) {}

    [[nodiscard]] bool next(SourceLine &line) {
        if (m_head.empty()) {
            return false;
        }
        const std::size_t lineFeed = m_head.find('\n');
        std::size_t length = std::min<std::size_t>(lineFeed, kLineBufferSize - 1);
        length = std::min(length, m_head.size());
        const bool ended = length == lineFeed;
        std::string_view text = m_head.substr(0, length);
        m_head.remove_prefix(std::min(m_head.size(), ended ? length + 1 : length));
        if (ended && !text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const std::size_t zero = text.find('\0');
        m_storage.assign(text.substr(0, zero));
        m_storage.append(kLineScanSlack, '\0');
        line = SourceLine{std::string_view(m_storage.data(), std::min(zero, text.size())),
                          ended && zero == std::string_view::npos, zero != std::string_view::npos};
        return true;
    }

  private:
    std::string_view m_head;
    std::string m_storage;
};

void previewOldReading(std::string_view head, std::size_t maxPoints, SourcePreview &preview) {
    HeadLines lines(head);
    LineCutter cutter;
    SourceLine line;
    while (preview.points.size() < maxPoints && lines.next(line) &&
           line.measuredLength() >= kMinimumLineLength) {
        cutter.apply(line);
        preview.points.push_back(pointOf(cutter.record()));
    }
}

void previewLayout(std::string_view head, std::size_t maxPoints, SourcePreview &preview) {
    if (head.starts_with(kByteOrderMark)) {
        head.remove_prefix(kByteOrderMark.size());
    }
    HeadLines lines(head);
    LayoutCutter cutter(*preview.layout);
    SourceLine line;
    bool header = preview.layout->headerRow;
    while (preview.points.size() < maxPoints && lines.next(line)) {
        if (line.text.find_first_not_of(" \t\r") == std::string_view::npos ||
            std::exchange(header, false)) {
            continue;
        }
        cutter.apply(line.text);
        preview.points.push_back(pointOf(cutter.record()));
    }
}

} // namespace

SourcePreview previewSource(std::string_view head, const ConversionOptions &options,
                            std::size_t maxPoints) {
    const ReadingPlan plan = planReading(options.sourceReading, head);
    SourcePreview preview{{}, plan.layout, plan.encoding, plan.failure, plan.oldLayoutFound};
    if (preview.layout) {
        previewLayout(head, maxPoints, preview);
    } else if (plan.failure == DetectionFailure::None) {
        previewOldReading(head, maxPoints, preview);
    }
    return preview;
}

} // namespace velkaro
