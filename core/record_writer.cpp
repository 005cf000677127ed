#include "record_writer.h"

namespace velkaro {
namespace {

[[nodiscard]] bool isPlainDxf(const ConversionOptions &options) {
    return options.dxfAxes == DxfAxes::Xy && !options.dxfLabels;
}

} // namespace

RecordWriter::RecordWriter(OutputStream &out, TargetFormat format, const ConversionOptions &options)
    : m_out(out), m_mode(Mode::Dxf), m_dxfCodePage(options.dxfCodePage),
      m_dxf(options.dxfAxes, options.dxfLabels) {
    switch (format) {
    case TargetFormat::Cass:
        m_mode = options.cassColumns == CassColumns::Name ? Mode::CassByName : Mode::Cass;
        break;
    case TargetFormat::Kaisi:
        m_mode = Mode::Kaisi;
        break;
    case TargetFormat::Cad:
        m_mode = isPlainDxf(options) ? Mode::Dxf : Mode::DxfStyled;
        break;
    case TargetFormat::GeoPackage:
    case TargetFormat::Shapefile:
    case TargetFormat::GeoJson:
    case TargetFormat::Kml:
        break; // written by a point layer writer, never by this one
    }
}

void RecordWriter::begin() {
    if (m_mode != Mode::Dxf && m_mode != Mode::DxfStyled) {
        return;
    }
    if (m_dxfCodePage) {
        writeDxfHeader(m_out, *m_dxfCodePage);
    } else {
        writeDxfHeader(m_out);
    }
}

void RecordWriter::end() {
    if (m_mode == Mode::Dxf || m_mode == Mode::DxfStyled) {
        writeDxfFooter(m_out);
    }
}

} // namespace velkaro
