#include "target_formats.h"

#include "number_rules.h"
#include "output_stream.h"

#include <array>
#include <charconv>
#include <string_view>

namespace velkaro {
namespace {

// One line of comma-separated values, each copied as it is, assembled in the stream's buffer.
void writeColumns(OutputStream &out, const std::array<std::string_view, 5> &columns) {
    std::size_t size = 6; // four commas and the line end
    for (const std::string_view column : columns) {
        size += column.size();
    }
    if (size > OutputStream::kRoomLimit) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            out.writeRaw(i == 0 ? std::string_view() : ",");
            out.writeRaw(columns[i]);
        }
        out.writeRaw("\r\n");
        return;
    }
    char *end = appendBytes(out.room(size), columns[0]);
    for (std::size_t i = 1; i < columns.size(); ++i) {
        *end++ = ',';
        end = appendBytes(end, columns[i]);
    }
    out.commit(appendLiteral(end, "\r\n"));
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
    constexpr std::size_t kFixedPart = 3 * kMaxFixed6Length + 64; // coordinates and group codes
    char *end = nullptr;
    if (record.pointCode.size() <= OutputStream::kRoomLimit - kFixedPart) {
        end = out.room(record.pointCode.size() + kFixedPart);
        end = appendBytes(appendLiteral(end, "  0\r\nPOINT\r\n8\r\n"), record.pointCode);
    } else {
        out.writeRaw("  0\r\nPOINT\r\n8\r\n");
        out.writeRaw(record.pointCode);
        end = out.room(kFixedPart);
    }
    end = printNumberFixed6(appendLiteral(end, "\r\n 10\r\n"), record.x);
    end = printNumberFixed6(appendLiteral(end, "\r\n 20\r\n"), record.y);
    end = printNumberFixed6(appendLiteral(end, "\r\n 30\r\n"), record.z);
    out.commit(appendLiteral(end, "\r\n"));
}

void writeDxfFooter(OutputStream &out) {
    out.writeRaw("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

} // namespace velkaro
