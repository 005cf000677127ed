#include "point_record.h"

#include "source_stream.h"

#include <cstring>

namespace velkaro {
namespace {

// Byte classes for cutting: the loop runs over every byte of the file, so a table lookup
// replaces the comparisons, and the terminating zero byte stops it without measuring first.
enum ByteClass : unsigned char { kOrdinary, kDelimiter, kEnd };

struct ByteClasses {
    ByteClass of[256] = {};
    constexpr ByteClasses() {
        of[static_cast<unsigned char>(',')] = kDelimiter;
        of[static_cast<unsigned char>('\t')] = kDelimiter;
        of[static_cast<unsigned char>('\n')] = kDelimiter;
        of[0] = kEnd;
    }
};
constexpr ByteClasses kClasses;

// Field 3 equal to exactly these bytes takes the point's name as its code.
constexpr std::string_view kNullCode = "NULL";

// clear + append reuses the value's storage and skips the overlap handling of assign.
void replaceValue(std::string &value, std::string_view field) {
    value.clear();
    value.append(field.data(), field.size());
}

void takeField(std::size_t position, std::string_view field, PointRecord &record) {
    switch (position) {
    case 2:
        replaceValue(record.pointName, field);
        break;
    case 3:
        if (field == kNullCode) {
            record.pointCode = record.pointName;
        } else {
            replaceValue(record.pointCode, field);
        }
        break;
    case 4:
        replaceValue(record.x, field);
        break;
    case 5:
        replaceValue(record.y, field);
        break;
    case 6:
        replaceValue(record.z, field);
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
    const auto *p = reinterpret_cast<const unsigned char *>(buffer);
    for (std::size_t position = 0; position <= 6; ++position) {
        while (kClasses.of[*p] == kDelimiter) {
            ++p;
        }
        if (kClasses.of[*p] == kEnd) {
            return;
        }
        const unsigned char *start = p;
        while (kClasses.of[*p] == kOrdinary) {
            ++p;
        }
        takeField(position,
                  std::string_view(reinterpret_cast<const char *>(start),
                                   static_cast<std::size_t>(p - start)),
                  record);
    }
}

} // namespace velkaro
