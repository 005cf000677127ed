#include "geopackage_writer.h"

#include "byte_packing.h"
#include "grid_wkt.h"
#include "output_time.h"
#include "scratch_database.h"

#include <sqlite3.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <utility>

namespace velkaro::gis {
namespace {

constexpr std::uint32_t kWkbPointZ = 1001;

// The tables every GeoPackage holds, as the standard's annexes define them.
const char *const kTables =
    "CREATE TABLE gpkg_spatial_ref_sys (srs_name TEXT NOT NULL,srs_id INTEGER NOT NULL PRIMARY "
    "KEY,organization TEXT NOT NULL,organization_coordsys_id INTEGER NOT NULL,definition TEXT NOT "
    "NULL,description TEXT);"
    "CREATE TABLE gpkg_contents (table_name TEXT NOT NULL PRIMARY KEY,data_type TEXT NOT NULL,"
    "identifier TEXT UNIQUE,description TEXT DEFAULT '',last_change DATETIME NOT NULL DEFAULT "
    "(strftime('%Y-%m-%dT%H:%M:%fZ','now')),min_x DOUBLE,min_y DOUBLE,max_x DOUBLE,max_y "
    "DOUBLE,srs_id INTEGER,CONSTRAINT fk_gc_r_srs_id FOREIGN KEY (srs_id) REFERENCES "
    "gpkg_spatial_ref_sys(srs_id));"
    "CREATE TABLE gpkg_geometry_columns (table_name TEXT NOT NULL,column_name TEXT NOT NULL,"
    "geometry_type_name TEXT NOT NULL,srs_id INTEGER NOT NULL,z TINYINT NOT NULL,m TINYINT NOT "
    "NULL,CONSTRAINT pk_geom_cols PRIMARY KEY (table_name, column_name),CONSTRAINT "
    "uk_gc_table_name UNIQUE (table_name),CONSTRAINT fk_gc_tn FOREIGN KEY (table_name) "
    "REFERENCES gpkg_contents(table_name),CONSTRAINT fk_gc_srs FOREIGN KEY (srs_id) REFERENCES "
    "gpkg_spatial_ref_sys (srs_id));"
    "INSERT INTO gpkg_spatial_ref_sys VALUES ('Undefined Cartesian SRS',-1,'NONE',-1,"
    "'undefined','undefined Cartesian coordinate reference system'),"
    "('Undefined geographic SRS',0,'NONE',0,'undefined',"
    "'undefined geographic coordinate reference system');";

// An SQL identifier (in double quotes) or string (in single quotes), its own quotes doubled.
[[nodiscard]] std::string sqlQuoted(const std::string &name, char quote = '"') {
    std::string out(1, quote);
    for (char c : name) {
        out.append(c == quote ? 2 : 1, c);
    }
    return out + quote;
}

// The layer's table: the source's stem, unless empty or in a namespace the standard or SQLite
// keeps for themselves.
[[nodiscard]] std::string tableNameOf(const std::string &layerName) {
    std::string lower;
    for (char c : layerName.substr(0, 7)) {
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const bool reserved =
        lower.starts_with("gpkg_") || lower.starts_with("rtree_") || lower.starts_with("sqlite_");
    return layerName.empty() || reserved ? "points_" + layerName : layerName;
}

[[nodiscard]] std::string decimal(int value) {
    char digits[16];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

[[nodiscard]] bool bindText(sqlite3_stmt *statement, int index, std::string_view text) {
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_STATIC,
                               SQLITE_UTF8) == SQLITE_OK;
}

} // namespace

void GeoPackageWriter::Closer::operator()(sqlite3 *db) const {
    sqlite3_close(db);
}
void GeoPackageWriter::Closer::operator()(sqlite3_stmt *statement) const {
    sqlite3_finalize(statement);
}

GeoPackageWriter::GeoPackageWriter(LayerRequest request)
    : m_request(std::move(request)), m_files(m_request.folder),
      m_table(tableNameOf(m_request.layerName)), m_srsId(m_request.crs ? m_request.crs->epsg : -1) {
    m_files.add(m_request.fileName);
    m_geometry.reserve(40);
}

GeoPackageWriter::~GeoPackageWriter() = default;

bool GeoPackageWriter::create() {
    if (!m_files.create()) {
        return false;
    }
    return openDatabase() && createTables() && describeLayer() &&
           prepare("INSERT INTO " + sqlQuoted(m_table) +
                       " (geom,name,code,z,line) VALUES (?1,?2,?3,?4,?5)",
                   m_insert);
}

bool GeoPackageWriter::openDatabase() {
    sqlite3 *db = nullptr;
    const int opened = openScratchDatabase(&db);
    m_db.reset(db);
    if (opened != SQLITE_OK) {
        noteSqlFailure(opened);
        return false;
    }
    return execute("PRAGMA application_id=1196444487;PRAGMA user_version=10300;BEGIN");
}

bool GeoPackageWriter::createTables() {
    return execute(kTables) &&
           execute("CREATE TABLE " + sqlQuoted(m_table) +
                   " (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,geom POINT,name TEXT,"
                   "code TEXT,z REAL,line INTEGER)");
}

// The rows of the layer's system, its contents and its geometry column.
bool GeoPackageWriter::describeLayer() {
    std::unique_ptr<sqlite3_stmt, Closer> srs;
    if (!prepare("INSERT INTO gpkg_spatial_ref_sys VALUES (?1,?2,'EPSG',?2,?3,NULL)", srs)) {
        return false;
    }
    const std::string wgs84 = wgs84Wkt();
    bool bound = bindText(srs.get(), 1, "WGS 84 geodetic") &&
                 sqlite3_bind_int(srs.get(), 2, 4326) == SQLITE_OK && bindText(srs.get(), 3, wgs84);
    int stepped = bound ? sqlite3_step(srs.get()) : SQLITE_MISUSE;
    if (stepped == SQLITE_DONE && m_request.crs) {
        const std::string name = epsgNameOf(*m_request.crs);
        const std::string wkt = ogcWktOf(*m_request.crs);
        sqlite3_reset(srs.get());
        bound = bindText(srs.get(), 1, name) &&
                sqlite3_bind_int(srs.get(), 2, m_srsId) == SQLITE_OK && bindText(srs.get(), 3, wkt);
        stepped = bound ? sqlite3_step(srs.get()) : SQLITE_MISUSE;
    }
    if (stepped != SQLITE_DONE) {
        noteSqlFailure(stepped);
        return false;
    }
    const std::string table = sqlQuoted(m_table, '\'');
    return execute("INSERT INTO gpkg_contents (table_name,data_type,identifier,srs_id,"
                   "last_change) VALUES (" +
                   table + ",'features'," + table + "," + decimal(m_srsId) + ",'" +
                   isoTimestamp(outputTime()) + "')") &&
           execute("INSERT INTO gpkg_geometry_columns VALUES (" + table + ",'geom','POINT'," +
                   decimal(m_srsId) + ",1,0)");
}

PointWritten GeoPackageWriter::add(const LayerPoint &point) {
    if (m_failed) {
        return PointWritten::Whole;
    }
    m_extent.include(point.east, point.north, point.height);
    // GeoPackage binary: "GP", version 0, flags (little-endian, no envelope), srs_id, then the
    // point as little-endian WKB with x the east.
    m_geometry.assign("GP\0\x01", 4);
    appendLittle32(m_geometry, static_cast<std::uint32_t>(m_srsId));
    m_geometry.push_back('\x01');
    appendLittle32(m_geometry, kWkbPointZ);
    appendLittleDouble(m_geometry, point.east);
    appendLittleDouble(m_geometry, point.north);
    appendLittleDouble(m_geometry, point.height);

    sqlite3_stmt *insert = m_insert.get();
    const bool bound =
        sqlite3_bind_blob64(insert, 1, m_geometry.data(), m_geometry.size(), SQLITE_STATIC) ==
            SQLITE_OK &&
        bindText(insert, 2, point.name) && bindText(insert, 3, point.code) &&
        sqlite3_bind_double(insert, 4, point.height) == SQLITE_OK &&
        sqlite3_bind_int64(insert, 5, static_cast<sqlite3_int64>(point.line)) == SQLITE_OK;
    const int stepped = bound ? sqlite3_step(insert) : SQLITE_MISUSE;
    sqlite3_reset(insert);
    if (stepped != SQLITE_DONE) {
        noteSqlFailure(stepped);
    }
    return PointWritten::Whole;
}

bool GeoPackageWriter::finish(FolderSync sync) {
    if (!m_failed) {
        m_insert.reset();
        if (writeExtent() && execute("COMMIT")) {
            static_cast<void>(writeDatabase());
        }
    }
    m_db.reset();
    return m_files.finish(sync);
}

// The box of the points in gpkg_contents; left NULL for a layer without points.
bool GeoPackageWriter::writeExtent() {
    if (m_extent.empty()) {
        return true;
    }
    std::unique_ptr<sqlite3_stmt, Closer> update;
    if (!prepare("UPDATE gpkg_contents SET min_x=?1,min_y=?2,max_x=?3,max_y=?4", update)) {
        return false;
    }
    sqlite3_bind_double(update.get(), 1, m_extent.minX());
    sqlite3_bind_double(update.get(), 2, m_extent.minY());
    sqlite3_bind_double(update.get(), 3, m_extent.maxX());
    sqlite3_bind_double(update.get(), 4, m_extent.maxY());
    const int stepped = sqlite3_step(update.get());
    if (stepped != SQLITE_DONE) {
        noteSqlFailure(stepped);
        return false;
    }
    return true;
}

// The database's bytes into the temporary file, a piece at a time.
bool GeoPackageWriter::writeDatabase() {
    if (!copyScratchDatabase(m_db.get(), m_files.file(0))) {
        m_files.noteWriteFailure(0, SystemError::fromErrno());
        return false;
    }
    return true;
}

bool GeoPackageWriter::execute(const std::string &sql) {
    const int result = sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        noteSqlFailure(result);
        return false;
    }
    return true;
}

bool GeoPackageWriter::prepare(const std::string &sql, std::unique_ptr<sqlite3_stmt, Closer> &out) {
    sqlite3_stmt *statement = nullptr;
    const int result = sqlite3_prepare_v2(m_db.get(), sql.c_str(), static_cast<int>(sql.size()),
                                          &statement, nullptr);
    out.reset(statement);
    if (result != SQLITE_OK) {
        noteSqlFailure(result);
        return false;
    }
    return true;
}

// SQLite's failures: running out of memory or of disk space (for the scratch database) are the
// system's ENOMEM and ENOSPC; a failed file operation gives the errno the scratch file had;
// anything else has no system error and reports the output file as failed for an unknown reason.
void GeoPackageWriter::noteSqlFailure(int result) {
    m_failed = true;
    const int primary = result & 0xFF;
    int code = 0;
    if (primary == SQLITE_NOMEM) {
        code = ENOMEM;
    } else if (primary == SQLITE_FULL) {
        code = ENOSPC;
    } else if ((primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) && m_db) {
        code = sqlite3_system_errno(m_db.get());
    }
    m_files.noteWriteFailure(0, code != 0 ? SystemError{SystemError::Domain::Posix, code}
                                          : SystemError{});
}

} // namespace velkaro::gis
