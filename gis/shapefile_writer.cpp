#include "shapefile_writer.h"

#include "byte_packing.h"
#include "grid_wkt.h"
#include "output_time.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <utility>

namespace velkaro::gis {
namespace {

constexpr std::uint32_t kPointZ = 11;
constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kContentBytes = 36; // shape type, then x, y, z and m
constexpr std::size_t kRecordBytes = 8 + kContentBytes;
constexpr std::size_t kIndexBytes = 8;
// The .shp's length is counted in 16-bit words in a signed 32-bit field.
constexpr std::uint64_t kLargestFile = 0x7FFFFFFFull * 2;
// Below -1e38 a Shapefile's measure means "no measure"; these points carry none.
constexpr double kNoMeasure = -1.0e39;

constexpr std::size_t kZWidth = 19;
constexpr int kZDecimals = 4; // a tenth of a millimetre, finer than any survey's height
constexpr std::size_t kLineWidth = 10;

struct Field {
    const char *name;
    char type;
    std::size_t width;
    int decimals;
};
constexpr Field kFields[] = {{"NAME", 'C', ShapefileWriter::kTextWidth, 0},
                             {"CODE", 'C', ShapefileWriter::kTextWidth, 0},
                             {"Z", 'N', kZWidth, kZDecimals},
                             {"LINE", 'N', kLineWidth, 0}};
constexpr std::size_t kTableRecordBytes =
    1 + 2 * ShapefileWriter::kTextWidth + kZWidth + kLineWidth;

[[nodiscard]] std::string stemOf(const std::string &fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

// A number right-aligned in its field as dBASE writes it; stars when it does not fit.
void appendNumber(std::string &record, std::size_t width, const char *digits, const char *end) {
    const auto size = static_cast<std::size_t>(end - digits);
    if (size > width) {
        record.append(width, '*');
        return;
    }
    record.append(width - size, ' ');
    record.append(digits, size);
}

// The header's date of the last update: years since 1900, month, day.
void appendToday(std::string &out) {
    const std::chrono::year_month_day today{std::chrono::floor<std::chrono::days>(outputTime())};
    out.push_back(static_cast<char>(static_cast<int>(today.year()) - 1900));
    out.push_back(static_cast<char>(static_cast<unsigned>(today.month())));
    out.push_back(static_cast<char>(static_cast<unsigned>(today.day())));
}

} // namespace

ShapefileWriter::ShapefileWriter(LayerRequest request)
    : m_request(std::move(request)), m_files(m_request.folder) {
    const std::string stem = stemOf(m_request.fileName);
    m_shp = m_files.add(m_request.fileName);
    m_shx = m_files.add(stem + ".shx");
    m_dbf = m_files.add(stem + ".dbf");
    if (m_request.crs) {
        m_prj = m_files.add(stem + ".prj");
    }
    m_cpg = m_files.add(stem + ".cpg");
    m_record.reserve(kTableRecordBytes);
}

bool ShapefileWriter::create() {
    if (!m_files.create()) {
        return false;
    }
    // Placeholders of the headers' size; finish() writes them over.
    put(m_shp, mainHeader(kHeaderBytes));
    put(m_shx, mainHeader(kHeaderBytes));
    put(m_dbf, tableHeader());
    if (m_prj) {
        put(*m_prj, esriWktOf(*m_request.crs));
    }
    put(m_cpg, "UTF-8");
    return true;
}

PointWritten ShapefileWriter::add(const LayerPoint &point) {
    const std::uint64_t offset = kHeaderBytes + std::uint64_t{m_count} * kRecordBytes;
    if (offset + kRecordBytes > kLargestFile) {
        m_files.noteWriteFailure(m_shp, SystemError{SystemError::Domain::Posix, EFBIG});
        return PointWritten::Whole;
    }
    ++m_count;
    m_extent.include(point.east, point.north, point.height);

    m_record.clear();
    appendBig32(m_record, m_count);
    appendBig32(m_record, kContentBytes / 2);
    appendLittle32(m_record, kPointZ);
    appendLittleDouble(m_record, point.east);
    appendLittleDouble(m_record, point.north);
    appendLittleDouble(m_record, point.height);
    appendLittleDouble(m_record, kNoMeasure);
    put(m_shp, m_record);

    m_record.clear();
    appendBig32(m_record, static_cast<std::uint32_t>(offset / 2));
    appendBig32(m_record, kContentBytes / 2);
    put(m_shx, m_record);

    const std::uint64_t truncated = m_truncated;
    putAttributes(point);
    return m_truncated == truncated ? PointWritten::Whole : PointWritten::TextShortened;
}

void ShapefileWriter::putAttributes(const LayerPoint &point) {
    m_record.clear();
    m_record.push_back(' '); // not deleted
    appendText(m_record, point.name);
    appendText(m_record, point.code);
    char digits[64];
    auto written = std::to_chars(digits, digits + sizeof digits, point.height,
                                 std::chars_format::fixed, kZDecimals);
    appendNumber(m_record, kZWidth, digits, written.ptr);
    written = std::to_chars(digits, digits + sizeof digits, point.line);
    appendNumber(m_record, kLineWidth, digits, written.ptr);
    put(m_dbf, m_record);
}

bool ShapefileWriter::finish(FolderSync sync) {
    put(m_dbf, std::string(1, '\x1A')); // dBASE's end of file
    putAtStart(m_shp, mainHeader(kHeaderBytes + std::uint64_t{m_count} * kRecordBytes));
    putAtStart(m_shx, mainHeader(kHeaderBytes + std::uint64_t{m_count} * kIndexBytes));
    putAtStart(m_dbf, tableHeader());
    return m_files.finish(sync);
}

// The 100 bytes that open both the .shp and the .shx: big-endian file code and length, then
// little-endian version, shape type and the box of x, y, z and m.
std::string ShapefileWriter::mainHeader(std::uint64_t fileBytes) const {
    std::string header;
    appendBig32(header, 9994);
    header.append(20, '\0');
    appendBig32(header, static_cast<std::uint32_t>(fileBytes / 2));
    appendLittle32(header, 1000);
    appendLittle32(header, kPointZ);
    for (double bound : {m_extent.minX(), m_extent.minY(), m_extent.maxX(), m_extent.maxY(),
                         m_extent.minZ(), m_extent.maxZ(), 0.0, 0.0}) {
        appendLittleDouble(header, bound);
    }
    return header;
}

// dBASE III: version, date, record count, header and record sizes, then a descriptor of 32
// bytes per field. The language driver byte stays 0: no driver names UTF-8, the .cpg does.
std::string ShapefileWriter::tableHeader() const {
    constexpr std::size_t fieldCount = std::size(kFields);
    std::string header(1, '\x03');
    appendToday(header);
    appendLittle32(header, m_count);
    appendLittle16(header, static_cast<std::uint16_t>(32 + 32 * fieldCount + 1));
    appendLittle16(header, static_cast<std::uint16_t>(kTableRecordBytes));
    header.append(20, '\0');
    for (const Field &field : kFields) {
        std::string descriptor(field.name);
        descriptor.resize(11, '\0');
        descriptor.push_back(field.type);
        descriptor.append(4, '\0');
        descriptor.push_back(static_cast<char>(field.width));
        descriptor.push_back(static_cast<char>(field.decimals));
        descriptor.resize(32, '\0');
        header += descriptor;
    }
    header.push_back('\x0D');
    return header;
}

void ShapefileWriter::appendText(std::string &record, std::string_view text) {
    std::size_t size = text.size();
    if (size > kTextWidth) {
        ++m_truncated;
        size = kTextWidth;
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0u) == 0x80u) {
            --size; // text[size] continues a character: cut before that character
        }
    }
    record.append(text.data(), size);
    record.append(kTextWidth - size, ' ');
}

void ShapefileWriter::put(std::size_t index, const std::string &bytes) {
    std::FILE *file = m_files.file(index);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        m_files.noteWriteFailure(index, SystemError::fromErrno());
    }
}

void ShapefileWriter::putAtStart(std::size_t index, const std::string &bytes) {
    if (std::fseek(m_files.file(index), 0, SEEK_SET) != 0) {
        m_files.noteWriteFailure(index, SystemError::fromErrno());
        return;
    }
    put(index, bytes);
}

} // namespace velkaro::gis
