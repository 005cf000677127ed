#include "dxf_point_writer.h"

#include "output_stream.h"

#include <string_view>

namespace velkaro {
namespace {

// Prints a coordinate by the number rules, followed by CR LF.
std::string_view printed(char (&text)[kMaxFixed6Length + 2], double value) {
    char *end = printFixed6(text, value);
    *end++ = '\r';
    *end++ = '\n';
    return {text, static_cast<std::size_t>(end - text)};
}

// A carriage return inside a text value would end its line for readers that take CR alone as
// a line end, and shift every group after it; the other bytes go through unchanged.
void writeTextValue(OutputStream &out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t at = text.find('\r'); at != std::string_view::npos;
         at = text.find('\r', start)) {
        out.writeRaw(text.substr(start, at - start));
        out.writeRaw(" ");
        start = at + 1;
    }
    out.writeRaw(text.substr(start));
}

} // namespace

DxfPointWriter::DxfPointWriter(DxfAxes axes, const std::optional<DxfLabels> &labels)
    : m_axes(axes), m_labels(labels) {
    if (m_labels) {
        const double height = m_labels->height;
        m_printedHeight = formatFixed6(height);
        m_nameLabel = {"ZDH", height / 2, height / 2};
        m_elevationLabel = {"GCD", height / 2, -1.5 * height};
    }
}

void DxfPointWriter::write(OutputStream &out, const PointRecord &record) const {
    const double x = parseNumber(record.x);
    const double y = parseNumber(record.y);
    const double drawingX = m_axes == DxfAxes::Xy ? x : y;
    const double drawingY = m_axes == DxfAxes::Xy ? y : x;
    char text[kMaxFixed6Length + 2];
    out.writeRaw("  0\r\nPOINT\r\n8\r\n");
    out.write(record.pointCode);
    out.writeRaw("\r\n 10\r\n");
    out.writeRaw(printed(text, drawingX));
    out.writeRaw(" 20\r\n");
    out.writeRaw(printed(text, drawingY));
    out.writeRaw(" 30\r\n");
    const double z = parseNumber(record.z);
    const std::string_view printedZ = printed(text, z);
    out.writeRaw(printedZ);
    if (!m_labels) {
        return;
    }
    writeText(out, m_nameLabel, drawingX, drawingY, printedZ, record.pointName);
    char elevation[kMaxFixed6Length];
    const char *end = printFixed(elevation, z, m_labels->elevationDecimals);
    writeText(out, m_elevationLabel, drawingX, drawingY, printedZ,
              std::string_view(elevation, static_cast<std::size_t>(end - elevation)));
}

void DxfPointWriter::writeText(OutputStream &out, const Label &label, double x, double y,
                               std::string_view printedZ, std::string_view text) const {
    char number[kMaxFixed6Length + 2];
    out.writeRaw("  0\r\nTEXT\r\n  8\r\n");
    out.writeRaw(label.layer);
    out.writeRaw("\r\n 10\r\n");
    out.writeRaw(printed(number, x + label.dx));
    out.writeRaw(" 20\r\n");
    out.writeRaw(printed(number, y + label.dy));
    out.writeRaw(" 30\r\n");
    out.writeRaw(printedZ);
    out.writeRaw(" 40\r\n");
    out.writeRaw(m_printedHeight);
    out.writeRaw("\r\n  1\r\n");
    writeTextValue(out, text);
    out.writeRaw("\r\n");
}

} // namespace velkaro
