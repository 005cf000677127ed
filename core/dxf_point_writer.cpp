#include "dxf_point_writer.h"

#include "output_stream.h"
#include "printed_decimal.h"

#include <cstring>

namespace velkaro {
namespace {

// Prints a coordinate by the number rules into text (no line end).
std::string_view printed(char *text, double value) {
    return {text, static_cast<std::size_t>(printFixed6(text, value) - text)};
}

// Bytes appended to a buffer the caller made large enough.
struct EntityText {
    char *end;

    template <std::size_t N> void add(const char (&literal)[N]) {
        std::memcpy(end, literal, N - 1);
        end += N - 1;
    }
    void add(std::string_view bytes) {
        std::memcpy(end, bytes.data(), bytes.size());
        end += bytes.size();
    }
    // A carriage return inside a text value would end its line for readers that take CR alone
    // as a line end, and shift every group after it: it becomes a space. Other bytes stay.
    void addTextValue(std::string_view text) {
        for (const char c : text) {
            *end++ = c == '\r' ? ' ' : c;
        }
    }
};

} // namespace

DxfPointWriter::DxfPointWriter(DxfAxes axes, const std::optional<DxfLabels> &labels)
    : m_axes(axes), m_labels(labels) {
    if (m_labels) {
        const double height = m_labels->height;
        m_printedHeight = formatFixed6(height);
        m_dx = offsetOf(height / 2);
        m_nameDy = offsetOf(height / 2);
        m_elevationDy = offsetOf(-1.5 * height);
    }
}

DxfPointWriter::Coordinate DxfPointWriter::coordinateOf(char *text, double value) const {
    Coordinate result{printed(text, value), value, 0, false};
    result.exact = m_labels && parseMillionths(result.printed, result.millionths);
    return result;
}

DxfPointWriter::Offset DxfPointWriter::offsetOf(double value) {
    Offset offset;
    offset.value = value;
    offset.exact = parseMillionths(formatFixed6(value), offset.millionths);
    return offset;
}

void DxfPointWriter::write(OutputStream &out, const PointRecord &record) const {
    const double x = parseNumber(record.x);
    const double y = parseNumber(record.y);
    const double z = parseNumber(record.z);
    char texts[3][kMaxFixed6Length];
    const Coordinate first = coordinateOf(texts[0], x);
    const Coordinate second = coordinateOf(texts[1], y);
    const Coordinate &drawingX = m_axes == DxfAxes::Xy ? first : second;
    const Coordinate &drawingY = m_axes == DxfAxes::Xy ? second : first;
    const std::string_view printedZ = printed(texts[2], z);
    out.writeRaw("  0\r\nPOINT\r\n8\r\n");
    out.write(record.pointCode);
    out.writeRaw("\r\n 10\r\n");
    out.writeRaw(drawingX.printed);
    out.writeRaw("\r\n 20\r\n");
    out.writeRaw(drawingY.printed);
    out.writeRaw("\r\n 30\r\n");
    out.writeRaw(printedZ);
    out.writeRaw("\r\n");
    if (!m_labels) {
        return;
    }
    char numbers[4][kMaxFixed6Length];
    const std::string_view labelX = placed(numbers[0], drawingX, m_dx);
    writeText(out, "ZDH", labelX, placed(numbers[1], drawingY, m_nameDy), printedZ,
              record.pointName);
    writeText(out, "GCD", labelX, placed(numbers[2], drawingY, m_elevationDy), printedZ,
              elevation(numbers[3], printedZ, z));
}

std::string_view DxfPointWriter::placed(char *text, const Coordinate &at, const Offset &offset) {
    char *const end = offset.exact && at.exact
                          ? printMillionths(text, at.millionths + offset.millionths)
                          : printFixed6(text, at.value + offset.value);
    return {text, static_cast<std::size_t>(end - text)};
}

// Assembled in one buffer and handed over in one piece: the entity is a dozen short parts.
void DxfPointWriter::writeText(OutputStream &out, std::string_view layer, std::string_view x,
                               std::string_view y, std::string_view z,
                               std::string_view text) const {
    char entity[6 * kMaxFixed6Length + kLineBufferSize];
    EntityText builder{entity};
    builder.add("  0\r\nTEXT\r\n  8\r\n");
    builder.add(layer);
    builder.add("\r\n 10\r\n");
    builder.add(x);
    builder.add("\r\n 20\r\n");
    builder.add(y);
    builder.add("\r\n 30\r\n");
    builder.add(z);
    builder.add("\r\n 40\r\n");
    builder.add(m_printedHeight);
    builder.add("\r\n  1\r\n");
    builder.addTextValue(text);
    builder.add("\r\n");
    out.writeRaw(std::string_view(entity, static_cast<std::size_t>(builder.end - entity)));
}

std::string_view DxfPointWriter::elevation(char *buffer, std::string_view printedZ,
                                           double z) const {
    const int decimals = m_labels->elevationDecimals;
    if (decimals == 6) {
        return printedZ;
    }
    char *end = nullptr;
    if (!roundPrinted(printedZ, decimals, buffer, end)) {
        end = printFixed(buffer, z, decimals);
    }
    return {buffer, static_cast<std::size_t>(end - buffer)};
}

} // namespace velkaro
