#include "geojson_writer.h"

#include "markup_text.h"

#include <cmath>

namespace velkaro::gis {
namespace {

// The height as a property, always with a point or an exponent ("5.0", not "5"): readers that
// guess a column's type from its values (GDAL) then make z a real column whatever the heights.
void appendHeight(std::string &out, double height) {
    if (!std::isfinite(height)) {
        out += "null";
        return;
    }
    const std::size_t start = out.size();
    appendNumber(out, height);
    if (out.find_first_of(".e", start) == std::string::npos) {
        out += ".0";
    }
}

} // namespace

bool GeoJsonWriter::create() {
    if (!m_file.create()) {
        return false;
    }
    // "name" is a foreign member that GDAL and QGIS take as the layer's name.
    m_record = R"({"type":"FeatureCollection","name":)";
    appendJsonString(m_record, m_layerName);
    m_record += R"(,"features":[)";
    m_file.stream().writeRaw(m_record);
    return true;
}

void GeoJsonWriter::appendGeometry(const LayerPoint &point) {
    const std::optional<Geographic> place = placeOf(point);
    if (!place) {
        m_record += "null";
        return;
    }
    m_record += R"({"type":"Point","coordinates":[)";
    appendDegreesOf(*place);
    appendNumber(m_record, point.height);
    m_record += "]}";
}

PointWritten GeoJsonWriter::add(const LayerPoint &point) {
    m_record.assign(m_features == 0 ? "\n" : ",\n");
    m_record += R"({"type":"Feature","geometry":)";
    appendGeometry(point);
    m_record += R"(,"properties":{"name":)";
    appendJsonString(m_record, point.name);
    m_record += R"(,"code":)";
    appendJsonString(m_record, point.code);
    m_record += R"(,"z":)";
    appendHeight(m_record, point.height);
    m_record += R"(,"line":)";
    appendInteger(m_record, point.line);
    m_record += "}}";
    m_file.stream().writeRaw(m_record);
    ++m_features;
    return PointWritten::Whole;
}

bool GeoJsonWriter::finish(FolderSync sync) {
    m_file.stream().writeRaw("\n]}\n");
    return m_file.finish(sync);
}

} // namespace velkaro::gis
