#include "dxf_point_writer.h"

#include "output_stream.h"
#include "printed_decimal.h"

#include <algorithm>
#include <cstring>

namespace velkaro {
namespace {

constexpr std::size_t kNumberBlock = 32;

// Bytes appended to a buffer the caller made large enough.
struct EntityText {
    char *end;

    template <std::size_t N> void add(const char (&literal)[N]) {
        std::memcpy(end, literal, N - 1);
        end += N - 1;
    }
    void add(std::string_view bytes) { end = appendBytes(end, bytes); }
    // A number printed at the start of a kMaxFixed6Length buffer: the usual short one is copied
    // as a block of 32 bytes (those past it are scratch that the next part overwrites).
    void addNumber(std::string_view number) {
        if (number.size() > kNumberBlock) {
            add(number);
            return;
        }
        std::memcpy(end, number.data(), kNumberBlock);
        end += number.size();
    }
    // size bytes from earlier in the same buffer, at least kNumberBlock bytes back, as a block.
    void addCopy(const char *from, std::size_t size) {
        std::memcpy(end, from, kNumberBlock);
        end += size;
    }
    // A carriage return inside a text value would end its line for readers that take CR alone
    // as a line end, and shift every group after it: it becomes a space. Other bytes stay.
    void addTextValue(std::string_view text) {
        for (const char c : text) {
            *end++ = c == '\r' ? ' ' : c;
        }
    }
};

// The POINT entity of the usual way, its coordinates printed from their digits; returns where its
// z lies.
std::string_view addUsualPoint(EntityText &builder, std::string_view layer,
                               const PlainDecimal (&plain)[3], int across) {
    builder.add("  0\r\nPOINT\r\n8\r\n");
    builder.add(layer);
    builder.add("\r\n 10\r\n");
    builder.end = printPlainFixed6(builder.end, plain[across]);
    builder.add("\r\n 20\r\n");
    builder.end = printPlainFixed6(builder.end, plain[1 - across]);
    builder.add("\r\n 30\r\n");
    const char *const z = builder.end;
    builder.end = printPlainFixed6(builder.end, plain[2]);
    const std::string_view printedZ(z, static_cast<std::size_t>(builder.end - z));
    builder.add("\r\n");
    return printedZ;
}

// A TEXT entity from the end of its x to its text value: y in millionths, the point's z (earlier
// in the same buffer) and the height groups (a block of kHeightBlock bytes).
void addTextMiddle(EntityText &builder, std::int64_t y, std::string_view z,
                   std::string_view heightBlock) {
    builder.add("\r\n 20\r\n");
    builder.end = printMillionths(builder.end, y);
    builder.add("\r\n 30\r\n");
    builder.addCopy(z.data(), z.size());
    std::memcpy(builder.end, heightBlock.data(), DxfPointWriter::kHeightBlock);
    builder.end += heightBlock.size();
}

} // namespace

DxfPointWriter::DxfPointWriter(DxfAxes axes, const std::optional<DxfLabels> &labels)
    : m_axes(axes), m_labels(labels) {
    if (m_labels) {
        const double height = m_labels->height;
        m_heightGroup = "\r\n 40\r\n" + formatFixed6(height) + "\r\n  1\r\n";
        m_dx = offsetOf(height / 2);
        m_nameDy = offsetOf(height / 2);
        m_elevationDy = offsetOf(-1.5 * height);
        m_usualLabels = m_dx.exact && m_nameDy.exact && m_elevationDy.exact &&
                        m_heightGroup.size() <= m_heightBlock.size();
        std::memcpy(m_heightBlock.data(), m_heightGroup.data(),
                    std::min(m_heightGroup.size(), m_heightBlock.size()));
    }
}

// A plain decimal field gives its printed text and millionths from its digits.
DxfPointWriter::Coordinate DxfPointWriter::coordinateOf(char *text, std::string_view field) const {
    Coordinate result{{}, field, 0, false};
    PlainDecimal plain;
    char *end = nullptr;
    std::uint64_t magnitude = 0;
    if (m_labels ? scanPlainDecimal(field, plain, magnitude) : scanPlainDecimal(field, plain)) {
        end = printPlainFixed6(text, plain);
        const auto value = static_cast<std::int64_t>(magnitude);
        result.millionths = plain.negative ? -value : value;
        result.exact = true;
    } else {
        end = printFixed6(text, parseNumber(field));
    }
    result.printed = std::string_view(text, static_cast<std::size_t>(end - text));
    result.exact = result.exact || (m_labels && parseMillionths(result.printed, result.millionths));
    return result;
}

DxfPointWriter::Offset DxfPointWriter::offsetOf(double value) {
    Offset offset;
    offset.value = value;
    offset.exact = parseMillionths(formatFixed6(value), offset.millionths);
    return offset;
}

void DxfPointWriter::write(OutputStream &out, const PointRecord &record) const {
    if (!m_usualLabels || !writeUsual(out, record)) {
        writeGeneral(out, record);
    }
}

// Scanned before anything is written, so that a field the usual way cannot take leaves the whole
// record to the general way.
bool DxfPointWriter::writeUsual(OutputStream &out, const PointRecord &record) const {
    UsualPoint point;
    if (record.pointCode.size() + record.pointName.size() > kUsualNames ||
        !scanPlainDecimal(record.x, point.plain[0], point.magnitude[0]) ||
        !scanPlainDecimal(record.y, point.plain[1], point.magnitude[1]) ||
        !scanPlainDecimal(record.z, point.plain[2], point.magnitude[2]) ||
        OutputStream::containsLineFeed(record.pointCode)) {
        return false;
    }
    const int across = m_axes == DxfAxes::Xy ? 0 : 1; // the field drawn as X
    EntityText builder{out.room(kUsualRoom + record.pointCode.size() + record.pointName.size())};
    const std::string_view z = addUsualPoint(builder, record.pointCode, point.plain, across);
    const std::string_view height(m_heightBlock.data(), m_heightGroup.size());
    builder.add(kNameHead);
    const char *const labelX = builder.end;
    builder.end = printMillionths(builder.end, point.millionths(across) + m_dx.millionths);
    const std::string_view x(labelX, static_cast<std::size_t>(builder.end - labelX));
    addTextMiddle(builder, point.millionths(1 - across) + m_nameDy.millionths, z, height);
    builder.addTextValue(record.pointName);
    builder.add("\r\n");
    builder.add(kElevationHead);
    builder.addCopy(x.data(), x.size());
    addTextMiddle(builder, point.millionths(1 - across) + m_elevationDy.millionths, z, height);
    builder.end = usualElevation(builder.end, point, z, record.z);
    builder.add("\r\n");
    out.commit(builder.end);
    return true;
}

// The printed z rounded from its millionths: when the digits dropped are less than a half, the
// printed z cut short. A half there, which only the number decides, goes by the number rules.
char *DxfPointWriter::usualElevation(char *out, const UsualPoint &point, std::string_view printedZ,
                                     std::string_view field) const {
    static constexpr std::uint64_t kSteps[] = {1000000, 100000, 10000, 1000, 100, 10, 1};
    const int decimals = m_labels->elevationDecimals;
    const std::uint64_t step = kSteps[decimals];
    if (point.magnitude[2] % step < step / 2 || decimals == 6) {
        const std::size_t cut = static_cast<std::size_t>(6 - decimals) + (decimals == 0 ? 1 : 0);
        std::memcpy(out, printedZ.data(), kNumberBlock);
        return out + printedZ.size() - cut;
    }
    char *end = nullptr;
    if (!roundMillionths(point.millionths(2), point.plain[2].negative, decimals, out, end)) {
        end = printFixed(out, parseNumber(field), decimals);
    }
    return end;
}

void DxfPointWriter::writeGeneral(OutputStream &out, const PointRecord &record) const {
    char texts[3][kMaxFixed6Length];
    const Coordinate first = coordinateOf(texts[0], record.x);
    const Coordinate second = coordinateOf(texts[1], record.y);
    const Coordinate &drawingX = m_axes == DxfAxes::Xy ? first : second;
    const Coordinate &drawingY = m_axes == DxfAxes::Xy ? second : first;
    const Coordinate z = coordinateOf(texts[2], record.z);
    const std::string_view printedZ = z.printed;
    writePoint(out, record.pointCode, drawingX.printed, drawingY.printed, printedZ);
    if (!m_labels) {
        return;
    }
    char numbers[4][kMaxFixed6Length];
    const std::string_view labelX = placed(numbers[0], drawingX, m_dx);
    writeText(out, kNameHead, labelX, placed(numbers[1], drawingY, m_nameDy), printedZ,
              record.pointName);
    writeText(out, kElevationHead, labelX, placed(numbers[2], drawingY, m_elevationDy), printedZ,
              elevation(numbers[3], z));
}

// Assembled in the stream's buffer like the labels; a layer with a line feed in it (which the
// stream writes as CR LF) or too long for the room goes part by part.
void DxfPointWriter::writePoint(OutputStream &out, std::string_view layer, std::string_view x,
                                std::string_view y, std::string_view z) {
    constexpr std::size_t kHead = 32 + 3 * kMaxFixed6Length + kNumberBlock;
    if (layer.size() > OutputStream::kRoomLimit - kHead || OutputStream::containsLineFeed(layer)) {
        out.writeRaw("  0\r\nPOINT\r\n8\r\n");
        out.write(layer);
        out.writeRaw("\r\n 10\r\n");
        out.writeRaw(x);
        out.writeRaw("\r\n 20\r\n");
        out.writeRaw(y);
        out.writeRaw("\r\n 30\r\n");
        out.writeRaw(z);
        out.writeRaw("\r\n");
        return;
    }
    EntityText builder{out.room(kHead + layer.size())};
    builder.add("  0\r\nPOINT\r\n8\r\n");
    builder.add(layer);
    builder.add("\r\n 10\r\n");
    builder.addNumber(x);
    builder.add("\r\n 20\r\n");
    builder.addNumber(y);
    builder.add("\r\n 30\r\n");
    builder.addNumber(z);
    builder.add("\r\n");
    out.commit(builder.end);
}

std::string_view DxfPointWriter::placed(char *text, const Coordinate &at, const Offset &offset) {
    char *const end = offset.exact && at.exact
                          ? printMillionths(text, at.millionths + offset.millionths)
                          : printFixed6(text, parseNumber(at.field) + offset.value);
    return {text, static_cast<std::size_t>(end - text)};
}

// Assembled in the stream's buffer: the entity is a few short parts. Only a record built by
// hand holds a text too long for the stream's room; it follows the rest byte by byte.
void DxfPointWriter::writeText(OutputStream &out, const EntityHead &head, std::string_view x,
                               std::string_view y, std::string_view z,
                               std::string_view text) const {
    const std::size_t headSize =
        sizeof head + 3 * kMaxFixed6Length + kNumberBlock + m_heightGroup.size();
    const bool fits = text.size() <= OutputStream::kRoomLimit - headSize;
    EntityText builder{out.room(headSize + (fits ? text.size() : 0))};
    std::memcpy(builder.end, head, sizeof head - 1);
    builder.end += sizeof head - 1;
    builder.addNumber(x);
    builder.add("\r\n 20\r\n");
    builder.addNumber(y);
    builder.add("\r\n 30\r\n");
    builder.addNumber(z);
    builder.add(m_heightGroup);
    if (fits) {
        builder.addTextValue(text);
        builder.add("\r\n");
        out.commit(builder.end);
        return;
    }
    out.commit(builder.end);
    for (const char c : text) {
        out.writeRaw(c == '\r' ? std::string_view(" ") : std::string_view(&c, 1));
    }
    out.writeRaw("\r\n");
}

std::string_view DxfPointWriter::elevation(char *buffer, const Coordinate &z) const {
    const int decimals = m_labels->elevationDecimals;
    if (decimals == 6) {
        return z.printed;
    }
    char *end = nullptr;
    if (!z.exact ||
        !roundMillionths(z.millionths, z.printed.front() == '-', decimals, buffer, end)) {
        end = printFixed(buffer, parseNumber(z.field), decimals);
    }
    return {buffer, static_cast<std::size_t>(end - buffer)};
}

} // namespace velkaro
