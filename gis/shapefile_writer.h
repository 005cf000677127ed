#pragma once

#include "layer_extent.h"
#include "layer_files.h"
#include "layer_files_writer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro::gis {

// An ESRI Shapefile of PointZ (shape type 11): the .shp of the geometries, the .shx index, the
// .dbf of the attributes NAME, CODE, Z and LINE (the source line), the .prj of the grid (none
// without one) and the .cpg that declares the attributes UTF-8. The headers' lengths, box and
// record count are known only after the last point and are written over at finish().
class ShapefileWriter final : public LayerFilesWriter {
  public:
    // The bytes a NAME or CODE value keeps: a longer one is cut at the last whole UTF-8
    // character that fits, since points arrive streamed and a DBF fixes the width up front.
    static constexpr std::size_t kTextWidth = 80;

    explicit ShapefileWriter(LayerRequest request);

    [[nodiscard]] bool create() override;
    [[nodiscard]] PointWritten add(const LayerPoint &point) override;
    [[nodiscard]] bool finish(FolderSync sync) override;

    // How many names and codes were cut to kTextWidth bytes.
    [[nodiscard]] std::uint64_t truncatedTexts() const { return m_truncated; }

  private:
    [[nodiscard]] const LayerFiles &files() const override { return m_files; }
    [[nodiscard]] std::string mainHeader(std::uint64_t fileBytes) const;
    [[nodiscard]] std::string tableHeader() const;
    void putAttributes(const LayerPoint &point);
    void appendText(std::string &record, std::string_view text);
    void put(std::size_t index, const std::string &bytes);
    void putAtStart(std::size_t index, const std::string &bytes);

    LayerRequest m_request;
    LayerFiles m_files;
    std::size_t m_shp = 0;
    std::size_t m_shx = 0;
    std::size_t m_dbf = 0;
    std::optional<std::size_t> m_prj;
    std::size_t m_cpg = 0;
    LayerExtent m_extent;
    std::uint32_t m_count = 0;
    std::uint64_t m_truncated = 0;
    std::string m_record; // reused for every point
};

} // namespace velkaro::gis
