#include "point_record.h"

#include "source_stream.h"

#include <algorithm>
#include <bit>
#include <cstdint>
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

// Bytes in word x (little-endian) that may end a field: ',' and every byte below 0x0B, which
// holds the zero byte, '\t' and '\n' but also the rare control bytes 0x01 to 0x08 (the caller
// checks the byte it finds). One test for the low bytes costs less than three exact ones. The
// lowest marked byte is always a true candidate (borrows only mark bytes above one), which is
// all the caller uses.
[[nodiscard]] std::uint64_t fieldEndCandidates(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t below0B = (x - kOnes * 0x0B) & ~x & kHighs;
    const std::uint64_t comma = x ^ (kOnes * ',');
    return below0B | ((comma - kOnes) & ~comma & kHighs);
}

// The first byte at or after p that ends the field. Eight bytes at a time while a whole word
// lies before limit, the end of the buffer; the buffer's zero byte stops the byte loop.
[[nodiscard]] const unsigned char *fieldEnd(const unsigned char *p, const unsigned char *limit) {
    if constexpr (std::endian::native == std::endian::little) {
        while (limit - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t candidates = fieldEndCandidates(word);
            if (candidates == 0) {
                p += 8;
                continue;
            }
            p += std::countr_zero(candidates) >> 3;
            if (kClasses.of[*p] != kOrdinary) {
                return p;
            }
            ++p; // a control byte inside the field
        }
    }
    while (kClasses.of[*p] == kOrdinary) {
        ++p;
    }
    return p;
}

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
            record.codeWasNull = true;
        } else {
            replaceValue(record.pointCode, field);
            record.codeWasNull = false;
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

std::size_t readSourceLine(SourceStream &stream, char (&buffer)[kLineBufferSize]) {
    const std::size_t stored = stream.readLine(buffer, kLineBufferSize - 1);
    buffer[stored] = '\0';
    return stored;
}

bool reachesMinimumLength(const char (&buffer)[kLineBufferSize]) {
    return std::find(buffer, buffer + kMinimumLineLength, '\0') == buffer + kMinimumLineLength;
}

void applyLineToRecord(const char (&buffer)[kLineBufferSize], PointRecord &record) {
    const auto *p = reinterpret_cast<const unsigned char *>(buffer);
    const unsigned char *const limit = p + kLineBufferSize;
    for (std::size_t position = 0; position <= 6; ++position) {
        while (kClasses.of[*p] == kDelimiter) {
            ++p;
        }
        if (kClasses.of[*p] == kEnd) {
            return;
        }
        const unsigned char *start = p;
        p = fieldEnd(p, limit);
        takeField(position,
                  std::string_view(reinterpret_cast<const char *>(start),
                                   static_cast<std::size_t>(p - start)),
                  record);
    }
}

} // namespace velkaro
