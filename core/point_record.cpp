#include "point_record.h"

#include "source_stream.h"

#include <cstring>

namespace velkaro {
namespace {

[[nodiscard]] bool isDelimiter(char c) {
    return c == ',' || c == '\t' || c == '\n';
}

// Field 3 equal to exactly these bytes takes the point's name as its code.
constexpr std::string_view kNullCode = "NULL";

void takeField(std::size_t position, std::string_view field, PointRecord &record) {
    switch (position) {
    case 2:
        record.pointName.assign(field);
        break;
    case 3:
        if (field == kNullCode) {
            record.pointCode = record.pointName;
        } else {
            record.pointCode.assign(field);
        }
        break;
    case 4:
        record.x.assign(field);
        break;
    case 5:
        record.y.assign(field);
        break;
    case 6:
        record.z.assign(field);
        break;
    default:
        break; // positions 0, 1 and 7 on carry nothing the writers use
    }
}

} // namespace

bool readSourceLine(SourceStream &stream, char (&buffer)[kLineBufferSize]) {
    const std::size_t stored = stream.readLine(buffer, kLineBufferSize - 1);
    buffer[stored] = '\0';
    return stored > 0;
}

std::size_t measureSourceLine(const char (&buffer)[kLineBufferSize]) {
    return std::strlen(buffer);
}

void applyLineToRecord(const char (&buffer)[kLineBufferSize], PointRecord &record) {
    const std::string_view text(buffer, measureSourceLine(buffer));
    std::size_t position = 0;
    std::size_t i = 0;
    while (i < text.size() && position <= 6) {
        while (i < text.size() && isDelimiter(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !isDelimiter(text[i])) {
            ++i;
        }
        if (i > start) {
            takeField(position++, text.substr(start, i - start), record);
        }
    }
}

} // namespace velkaro
