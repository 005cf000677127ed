#pragma once

#include "layer_extent.h"
#include "layer_files.h"
#include "layer_files_writer.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace velkaro::gis {

// An OGC GeoPackage 1.3 of one point layer with heights: the feature table (fid, geom, name,
// code, z, line) with its rows in gpkg_contents and gpkg_geometry_columns, and the grid's EPSG
// row in gpkg_spatial_ref_sys (without a grid the layer takes the standard's undefined
// Cartesian system, srs_id -1). The database is built in a scratch database (which takes a
// bounded page cache of memory whatever the number of points) inside one transaction and its
// bytes copied at finish() into the layer's temporary file, so that it reaches its name by the
// same durable way as every other output, never as a half-written database.
class GeoPackageWriter final : public LayerFilesWriter {
  public:
    explicit GeoPackageWriter(LayerRequest request);
    ~GeoPackageWriter() override;

    [[nodiscard]] bool create() override;
    [[nodiscard]] PointWritten add(const LayerPoint &point) override;
    [[nodiscard]] bool finish(FolderSync sync) override;

  private:
    [[nodiscard]] const LayerFiles &files() const override { return m_files; }

    struct Closer {
        void operator()(sqlite3 *db) const;
        void operator()(sqlite3_stmt *statement) const;
    };

    [[nodiscard]] bool openDatabase();
    [[nodiscard]] bool createTables();
    [[nodiscard]] bool describeLayer();
    [[nodiscard]] bool execute(const std::string &sql);
    [[nodiscard]] bool prepare(const std::string &sql, std::unique_ptr<sqlite3_stmt, Closer> &out);
    [[nodiscard]] bool writeExtent();
    [[nodiscard]] bool writeDatabase();
    void noteSqlFailure(int result);

    LayerRequest m_request;
    LayerFiles m_files;
    std::string m_table; // the feature table's name
    int m_srsId = -1;
    std::unique_ptr<sqlite3, Closer> m_db;
    std::unique_ptr<sqlite3_stmt, Closer> m_insert;
    LayerExtent m_extent;
    std::string m_geometry; // reused for every point
    bool m_failed = false;
};

} // namespace velkaro::gis
