#pragma once

#include "conversion_options.h"
#include "conversion_run.h"
#include "dxf_point_writer.h"

namespace velkaro {

class OutputStream;
struct PointRecord;

// The writers of one target format with the options that concern it, chosen once per run:
// with default options each call is the old tool's writer, unchanged.
class RecordWriter {
  public:
    RecordWriter(OutputStream &out, TargetFormat format, const ConversionOptions &options);

    // What comes before the first record (the DXF opener, and the HEADER when one is asked for).
    void begin();
    void write(const PointRecord &record);
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
