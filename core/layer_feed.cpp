#include "layer_feed.h"

#include "layout_cutter.h"
#include "line_cutter.h"
#include "number_rules.h"
#include "text_decoding.h"

namespace velkaro {
namespace {

// The easting of one line when its x, y and z all hold numbers.
[[nodiscard]] std::optional<double> eastingOf(std::string_view text,
                                              const std::optional<SourceLayout> &layout) {
    if (layout) {
        LayoutCutter cutter(*layout);
        cutter.apply(text);
        return cutter.holdsAllCoordinates() ? std::optional(parseNumber(cutter.record().y))
                                            : std::nullopt;
    }
    // cutFields may look past the text's end; a copy with room behind it keeps that safe. The
    // fields are views of that copy, so they are read while it lives.
    const std::string padded = std::string(text) + std::string(kLineBufferSize, '\0');
    const std::string_view view(padded.data(), text.size());
    std::uint16_t bounds[kFieldBoundsRoom];
    if (cutFields(view, bounds) < kFieldBounds) {
        return std::nullopt;
    }
    const auto field = [&](std::size_t k) {
        return view.substr(bounds[2 * k], bounds[2 * k + 1] - bounds[2 * k]);
    };
    if (!holdsNumber(field(4)) || !holdsNumber(field(5)) || !holdsNumber(field(6))) {
        return std::nullopt;
    }
    return parseNumber(field(5));
}

} // namespace

GridDetection detectGrid(std::string_view head, const std::optional<SourceLayout> &layout) {
    std::uint64_t line = 0;
    while (!head.empty()) {
        const std::size_t end = head.find('\n');
        std::string_view text = head.substr(0, end);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
        ++line;
        if (line == 1 && text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        if (text.size() >= kLineBufferSize) {
            continue; // a line no source of points has; the reading proper reports it
        }
        if (const std::optional<double> easting = eastingOf(text, layout)) {
            return {gridOfEasting(*easting), line};
        }
    }
    return {};
}

LayerFeed::LayerFeed(PointLayerWriter &writer, std::optional<GridCrs> grid, bool utf8Source)
    : m_writer(writer), m_grid(grid), m_utf8(utf8Source) {}

void LayerFeed::decode(std::string_view bytes, std::string &out) {
    DecodedText text = decodeText(bytes, m_utf8 ? TextEncoding::Utf8 : TextEncoding::Gb18030);
    m_lost = m_lost || !text.lossless;
    out = std::move(text.utf8);
}

bool LayerFeed::take(const PointRecord &record, bool allNumbers, std::uint64_t line) {
    if (m_failure != CrsFailure::None || !allNumbers) {
        return false;
    }
    LayerPoint point;
    point.north = parseNumber(record.x);
    point.east = parseNumber(record.y);
    point.height = parseNumber(record.z);
    point.line = line;
    if (m_grid && !eastingFits(*m_grid, point.east)) {
        m_failure = CrsFailure::OutsideGrid;
        m_failedLine = line;
        return false;
    }
    m_lost = false;
    decode(record.pointName, m_name);
    decode(record.pointCode, m_code);
    point.name = m_name;
    point.code = m_code;
    m_shortened = m_writer.add(point) == PointWritten::TextShortened;
    return true;
}

} // namespace velkaro
