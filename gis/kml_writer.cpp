#include "kml_writer.h"

#include "layer_text.h"
#include "markup_text.h"
#include "summary_text.h"

#include <cmath>

namespace velkaro::gis {

bool KmlWriter::create() {
    if (!m_file.create()) {
        return false;
    }
    m_record = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>";
    appendXmlText(m_record, m_layerName);
    m_record += "</name>\n";
    m_file.stream().writeRaw(m_record);
    return true;
}

void KmlWriter::appendPoint(const LayerPoint &point) {
    const std::optional<Geographic> place = placeOf(point);
    if (!place) {
        return;
    }
    // Fixed notation: KML's readers expect plain decimals in coordinates.
    m_record += "<Point><altitudeMode>absolute</altitudeMode><coordinates>";
    appendDegreesOf(*place);
    appendNumber(m_record, point.height, std::chars_format::fixed);
    m_record += "</coordinates></Point>\n";
}

PointWritten KmlWriter::add(const LayerPoint &point) {
    m_record.assign("<Placemark>\n<name>");
    appendXmlText(m_record, point.name);
    m_record += "</name>\n<description>";
    appendXmlText(m_record, wording::kPlacemarkCodeLabel);
    appendXmlText(m_record, point.code);
    m_record += '\n';
    appendXmlText(m_record, wording::kPlacemarkHeightLabel);
    if (std::isfinite(point.height)) {
        appendNumber(m_record, point.height, std::chars_format::fixed);
    }
    m_record += "</description>\n";
    appendPoint(point);
    m_record += "</Placemark>\n";
    m_groups.append(point.code, m_record);
    return PointWritten::Whole;
}

bool KmlWriter::writeFolders() {
    OutputStream &out = m_file.stream();
    for (std::size_t group = 0; group < m_groups.size(); ++group) {
        m_record.assign("<Folder>\n<name>");
        appendXmlText(m_record, m_groups.holdsOtherCodes(group)
                                    ? wording::otherCodesText(m_groups.codeLimit())
                                    : m_groups.code(group));
        m_record += "</name>\n";
        out.writeRaw(m_record);
        if (!m_groups.writeTo(group, out)) {
            return false;
        }
        out.writeRaw("</Folder>\n");
    }
    return m_groups.ok();
}

bool KmlWriter::finish(FolderSync sync) {
    if (!writeFolders()) {
        m_file.noteFailure(m_groups.error());
        return false;
    }
    m_file.stream().writeRaw("</Document>\n</kml>\n");
    return m_file.finish(sync);
}

} // namespace velkaro::gis
