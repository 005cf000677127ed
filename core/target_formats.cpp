#include "target_formats.h"

#include "number_rules.h"
#include "output_stream.h"

namespace velkaro {
namespace {

void writeCoordinate(OutputStream &out, const std::string &value) {
    char text[kMaxFixed6Length + 1];
    char *end = printFixed6(text, parseNumber(value));
    *end++ = '\n';
    out.write(std::string_view(text, static_cast<std::size_t>(end - text)));
}

} // namespace

void writeCassLine(OutputStream &out, const PointRecord &record) {
    out.write(record.pointCode);
    out.write(",,");
    out.write(record.y);
    out.write(",");
    out.write(record.x);
    out.write(",");
    out.write(record.z);
    out.write("\n");
}

void writeKaisiLine(OutputStream &out, const PointRecord &record) {
    out.write(record.pointName);
    out.write(",");
    out.write(record.pointCode);
    out.write(",");
    out.write(record.x);
    out.write(",");
    out.write(record.y);
    out.write(",");
    out.write(record.z);
    out.write("\n");
}

void writeDxfHeader(OutputStream &out) {
    out.write("  0\nSECTION\n  2\nENTITIES\n");
}

void writeDxfPoint(OutputStream &out, const PointRecord &record) {
    out.write("  0\nPOINT\n8\n");
    out.write(record.pointCode);
    out.write("\n 10\n");
    writeCoordinate(out, record.x);
    out.write(" 20\n");
    writeCoordinate(out, record.y);
    out.write(" 30\n");
    writeCoordinate(out, record.z);
}

void writeDxfFooter(OutputStream &out) {
    out.write("  0\nENDSEC\n  0\nEOF\n");
}

} // namespace velkaro
