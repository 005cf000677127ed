#include "target_formats.h"

#include "number_rules.h"
#include "output_stream.h"

#include <array>
#include <charconv>
#include <string_view>

namespace velkaro {
namespace {

void writeCoordinate(OutputStream &out, const std::string &value) {
    char text[kMaxFixed6Length + 2];
    char *end = printFixed6(text, parseNumber(value));
    *end++ = '\r';
    *end++ = '\n';
    out.writeRaw(std::string_view(text, static_cast<std::size_t>(end - text)));
}

// One line of comma-separated values, each copied as it is.
void writeColumns(OutputStream &out, const std::array<std::string_view, 5> &columns) {
    out.write(columns[0]);
    for (std::size_t i = 1; i < columns.size(); ++i) {
        out.writeRaw(",");
        out.write(columns[i]);
    }
    out.writeRaw("\r\n");
}

} // namespace

void writeCassLine(OutputStream &out, const PointRecord &record) {
    // "" rather than {}: an empty view must still point somewhere, for memcpy.
    writeColumns(out, {record.pointCode, "", record.y, record.x, record.z});
}

void writeCassLine(OutputStream &out, const PointRecord &record, CassColumns columns) {
    if (columns == CassColumns::Code) {
        writeCassLine(out, record);
        return;
    }
    const std::string_view code = record.codeWasNull ? std::string_view("") : record.pointCode;
    writeColumns(out, {record.pointName, code, record.y, record.x, record.z});
}

void writeKaisiLine(OutputStream &out, const PointRecord &record) {
    writeColumns(out, {record.pointName, record.pointCode, record.x, record.y, record.z});
}

void writeDxfHeader(OutputStream &out) {
    out.writeRaw("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
}

void writeDxfHeader(OutputStream &out, int codePage) {
    char number[16];
    const auto end = std::to_chars(number, number + sizeof number, codePage).ptr;
    out.writeRaw("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n"
                 "  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_");
    out.writeRaw(std::string_view(number, static_cast<std::size_t>(end - number)));
    out.writeRaw("\r\n  0\r\nENDSEC\r\n");
    writeDxfHeader(out);
}

void writeDxfPoint(OutputStream &out, const PointRecord &record) {
    out.writeRaw("  0\r\nPOINT\r\n8\r\n");
    out.write(record.pointCode);
    out.writeRaw("\r\n 10\r\n");
    writeCoordinate(out, record.x);
    out.writeRaw(" 20\r\n");
    writeCoordinate(out, record.y);
    out.writeRaw(" 30\r\n");
    writeCoordinate(out, record.z);
}

void writeDxfFooter(OutputStream &out) {
    out.writeRaw("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

} // namespace velkaro
