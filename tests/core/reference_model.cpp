#include "reference_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace velkaro::test {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool allBlank(std::string_view text) {
    for (char c : text) {
        if (!isBlankByte(c)) {
            return false;
        }
    }
    return true;
}

// The text-mode rules on the whole file at once: 0x1A ends it, CR LF becomes LF.
std::string translate(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        }
        text += bytes[i];
    }
    return text;
}

// strtok(",\t\n") on the line: the non-empty runs between delimiters, in order.
std::vector<std::string_view> cutFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(",\t\n", i);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find_first_of(",\t\n", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        fields.push_back(line.substr(start, end - start));
        i = end;
    }
    return fields;
}

struct Record {
    std::string name, code, x, y, z;
};

void apply(std::string_view line, Record &r) {
    const std::vector<std::string_view> fields = cutFields(line);
    for (std::size_t i = 2; i < fields.size() && i <= 6; ++i) {
        const std::string value(fields[i]);
        switch (i) {
        case 2:
            r.name = value;
            break;
        case 3:
            r.code = value == "NULL" ? r.name : value;
            break;
        case 4:
            r.x = value;
            break;
        case 5:
            r.y = value;
            break;
        default:
            r.z = value;
            break;
        }
    }
}

std::string withCrLf(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string recordText(const Record &r, TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return r.code + ",," + r.y + "," + r.x + "," + r.z + "\n";
    case TargetFormat::Kaisi:
        return r.name + "," + r.code + "," + r.x + "," + r.y + "," + r.z + "\n";
    default: // the model covers the old tool's formats only
        break;
    }
    return "  0\nPOINT\n8\n" + r.code + "\n 10\n" + modelFixed6(r.x) + "\n 20\n" +
           modelFixed6(r.y) + "\n 30\n" + modelFixed6(r.z) + "\n";
}

// Adds one to the decimal digit at index at, carrying to the left (digits[0] is a spare 0).
void incrementAt(std::string &digits, std::size_t at) {
    while (digits[at] == '9') {
        digits[at--] = '0';
    }
    ++digits[at];
}

// A positive finite value as "0" + integer digits + decimals, and where the decimals start. Only
// the first 18 significant digits need to be the exact ones: rounding half up to 17 digits looks
// at the 18th alone, and every digit after it becomes 0.
struct Decimal {
    std::string digits;
    std::size_t pointAt = 0;
};

Decimal exactDecimal(double magnitude) {
    // 41 significant digits from printf, which rounds the last one. Unless the digits after the
    // 18th are all zero (where a carry out of the 41st may have reached the 18th), the first 18
    // are exact; otherwise ask for the whole expansion, at most 1074 decimals for any double.
    char text[1500];
    std::snprintf(text, sizeof text, "%.40e", magnitude);
    const std::string_view scientific(text);
    std::string mantissa = std::string(1, scientific[0]) + std::string(scientific.substr(2, 40));
    const int exponent = std::atoi(text + scientific.find('e') + 1);
    if (mantissa.find_first_not_of('0', 18) == std::string::npos) {
        std::snprintf(text, sizeof text, "%.1074f", magnitude);
        const std::string_view fixed(text);
        const std::size_t dot = fixed.find('.');
        return {"0" + std::string(fixed.substr(0, dot)) + std::string(fixed.substr(dot + 1)),
                dot + 1};
    }
    mantissa.resize(18); // exact; the rest only decides nothing
    Decimal d;
    if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() < integerDigits + 7) {
            mantissa.resize(integerDigits + 7, '0');
        }
        d.digits = "0" + mantissa;
        d.pointAt = 1 + integerDigits;
    } else {
        d.digits = "00" + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
        d.pointAt = 2;
        if (d.digits.size() < d.pointAt + 7) {
            d.digits.resize(d.pointAt + 7, '0');
        }
    }
    return d;
}

// Rounds half up to 17 significant digits, then half up at the sixth decimal, and prints.
std::string roundFixed6(Decimal d) {
    std::string &all = d.digits;
    const std::size_t pointAt = d.pointAt;
    const std::size_t lead = all.find_first_not_of('0');
    if (lead == std::string::npos) {
        return "0.000000";
    }
    if (lead + 17 < all.size()) {
        const bool up = all[lead + 17] >= '5';
        all.replace(lead + 17, std::string::npos, all.size() - lead - 17, '0');
        if (up) {
            incrementAt(all, lead + 16);
        }
    }
    if (all[pointAt + 6] >= '5') {
        incrementAt(all, pointAt + 5);
    }
    std::string integer = all.substr(0, pointAt);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    return integer + "." + all.substr(pointAt, 6);
}

} // namespace

std::string modelFixed6(std::string_view field) {
    std::size_t i = field.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) {
        return "0.000000";
    }
    std::string number;
    if (field[i] == '+' || field[i] == '-') {
        number += field[i++];
    }
    std::size_t digits = 0;
    bool point = false;
    for (; i < field.size(); ++i) {
        if (field[i] == '.' && !point) {
            point = true;
        } else if (isDigit(field[i])) {
            ++digits;
        } else {
            break;
        }
        number += field[i];
    }
    if (digits == 0) {
        return "0.000000";
    }
    if (i < field.size() && std::string_view("eEdD").find(field[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < field.size() && (field[j] == '+' || field[j] == '-')) {
            exponent += field[j++];
        }
        const std::size_t first = j;
        while (j < field.size() && isDigit(field[j])) {
            exponent += field[j++];
        }
        if (j > first) {
            number += exponent;
        }
    }
    const double value = std::strtod(number.c_str(), nullptr);
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) {
        return sign + "1.#INF00";
    }
    if (std::fabs(value) < 1e-7) {
        // Below half of the sixth decimal, even after rounding to 17 digits: no need to expand.
        return sign + "0.000000";
    }
    return sign + roundFixed6(exactDecimal(std::fabs(value)));
}

// What follows the first byte 0x1A, which the old tool never read; further 0x1A bytes count as
// blanks there.
std::string afterEndOfFileByte(std::string_view bytes) {
    const std::size_t end = bytes.find('\x1a');
    std::string tail(end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1));
    std::replace(tail.begin(), tail.end(), '\x1a', ' ');
    return tail;
}

ModelRun modelConversion(std::string_view sourceBytes, TargetFormat format) {
    const std::string text = translate(sourceBytes);
    const std::string tail = afterEndOfFileByte(sourceBytes);
    ModelRun run;
    Record record;
    std::string out = format == TargetFormat::Cad ? "  0\nSECTION\n  2\nENTITIES\n" : "";
    std::size_t at = 0;
    std::uint64_t lineNumber = 1;
    bool stopped = false;
    while (at < text.size()) {
        // One read: up to 255 bytes, ending after a line feed.
        std::size_t length = std::min<std::size_t>(255, text.size() - at);
        const std::size_t lineFeed = text.find('\n', at);
        if (lineFeed != std::string::npos && lineFeed - at < length) {
            length = lineFeed - at + 1;
        }
        const std::string_view piece(text.data() + at, length);
        at += length;
        const std::string_view line = piece.substr(0, piece.find('\0'));
        if (line.size() < 10) {
            if (piece.find('\0') != std::string_view::npos || !allBlank(line) ||
                !allBlank(std::string_view(text).substr(at)) || !allBlank(tail)) {
                run.stoppedAtLine = lineNumber;
            }
            stopped = true;
            break;
        }
        apply(line, record);
        out += recordText(record, format);
        ++run.linesTaken;
        if (piece.back() == '\n') {
            ++lineNumber;
        }
    }
    if (!stopped && !allBlank(tail)) {
        run.stoppedAtLine =
            1 + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
    }
    if (format == TargetFormat::Cad) {
        out += "  0\nENDSEC\n  0\nEOF\n";
    }
    run.output = withCrLf(out);
    return run;
}

} // namespace velkaro::test
