#pragma once

#include "conversion_options.h"
#include "dxf_point_writer.h"
#include "target_format.h"
#include "target_formats.h"

namespace velkaro {

// The writers of one target format with the options that concern it, chosen once per run:
// with default options each call is the old tool's writer, unchanged.
class RecordWriter {
  public:
    RecordWriter(OutputStream &out, TargetFormat format, const ConversionOptions &options);

    // What comes before the first record (the DXF opener, and the HEADER when one is asked for).
    void begin();
    // Inline, so that the run's loop calls the old writer directly by default.
    void write(const PointRecord &record) {
        switch (m_mode) {
        case Mode::Cass:
            writeCassLine(m_out, record);
            break;
        case Mode::CassByName:
            writeCassLine(m_out, record, CassColumns::Name);
            break;
        case Mode::Kaisi:
            writeKaisiLine(m_out, record);
            break;
        case Mode::Dxf:
            writeDxfPoint(m_out, record);
            break;
        case Mode::DxfStyled:
            m_dxf.write(m_out, record);
            break;
        }
    }
    // What comes after the last record.
    void end();

  private:
    enum class Mode { Cass, CassByName, Kaisi, Dxf, DxfStyled };

    OutputStream &m_out;
    Mode m_mode;
    std::optional<int> m_dxfCodePage;
    DxfPointWriter m_dxf;
};

} // namespace velkaro
