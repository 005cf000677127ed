// GeographicLib and SQLite as the GIS writers use them, on Linux (Debian's libraries) and on
// Windows (built from Debian's sources by cmake/ThirdPartyGis.cmake): both link and give the
// same answers.
#include <GeographicLib/TransverseMercator.hpp>
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// CGCS2000's ellipsoid; a Gauss-Krüger zone is a transverse Mercator with scale 1 on its central
// meridian and a false easting of 500 km.
constexpr double kCgcs2000A = 6378137.0;
constexpr double kCgcs2000F = 1.0 / 298.257222101;
constexpr double kFalseEasting = 500000.0;
constexpr double kCentralMeridian = 117.0;

const GeographicLib::TransverseMercator &gaussKruger() {
    static const GeographicLib::TransverseMercator projection(kCgcs2000A, kCgcs2000F, 1.0);
    return projection;
}

struct Geographic {
    double lat;
    double lon;
};

Geographic toGeographic(double easting, double northing) {
    Geographic point{};
    gaussKruger().Reverse(kCentralMeridian, easting - kFalseEasting, northing, point.lat,
                          point.lon);
    return point;
}

TEST(GisThirdParty, GaussKrugerGridToLongitudeLatitudeAgreesWithProj) {
    // PROJ 9.1.1: echo 538123.456 3456789.012 | cs2cs -f %.12f +proj=tmerc +lon_0=117 +k=1
    //   +x_0=500000 +a=6378137 +rf=298.257222101 +to +proj=longlat +a=6378137 +rf=298.257222101
    const Geographic point = toGeographic(538123.456, 3456789.012);
    EXPECT_NEAR(point.lon, 117.400152099647, 1e-9);
    EXPECT_NEAR(point.lat, 31.232211789326, 1e-9);

    // And back to the grid, to a tenth of a millimetre.
    double x = 0;
    double y = 0;
    gaussKruger().Forward(kCentralMeridian, 31.232211789326, 117.400152099647, x, y);
    EXPECT_NEAR(x + kFalseEasting, 538123.456, 1e-4);
    EXPECT_NEAR(y, 3456789.012, 1e-4);
}

#ifndef _WIN32
// Across the whole zone and beyond it (1.5° of longitude is about 160 km here), against the
// cs2cs that VELKARO_CS2CS names (Debian's proj-bin on Linux).
TEST(GisThirdParty, GaussKrugerAgreesWithCs2csAcrossTheZone) {
    const char *cs2cs = std::getenv("VELKARO_CS2CS");
    ASSERT_TRUE(cs2cs != nullptr && *cs2cs != '\0')
        << "VELKARO_CS2CS names no cs2cs (scripts/deps test installs proj-bin)";
    struct Grid {
        double easting;
        double northing;
    };
    std::vector<Grid> grid;
    for (double offset = -250000; offset <= 250000; offset += 50000)
        for (double northing = 2000000; northing <= 5500000; northing += 500000)
            grid.push_back({kFalseEasting + offset + 0.123, northing + 0.456});

    const std::string input = ::testing::TempDir() + "velkaro_gis_grid.txt";
    {
        std::ofstream file(input);
        file.precision(17);
        for (const Grid &g : grid)
            file << g.easting << ' ' << g.northing << '\n';
    }
    const std::string command =
        std::string(cs2cs) + " -f %.12f +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378137" +
        " +rf=298.257222101 +to +proj=longlat +a=6378137 +rf=298.257222101 < " + input;
    const std::unique_ptr<FILE, int (*)(FILE *)> output(popen(command.c_str(), "r"), pclose);
    ASSERT_NE(output, nullptr) << command;
    for (const Grid &g : grid) {
        double lon = 0;
        double lat = 0;
        double height = 0;
        ASSERT_EQ(std::fscanf(output.get(), "%lf %lf %lf", &lon, &lat, &height), 3)
            << "cs2cs printed no line for " << g.easting << ' ' << g.northing;
        const Geographic point = toGeographic(g.easting, g.northing);
        EXPECT_NEAR(point.lon, lon, 1e-9) << g.easting << ' ' << g.northing;
        EXPECT_NEAR(point.lat, lat, 1e-9) << g.easting << ' ' << g.northing;
    }
    std::remove(input.c_str());
}
#endif

using Database = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;

Database openInMemory() {
    sqlite3 *db = nullptr;
    const int status = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    Database owned(db, sqlite3_close);
    EXPECT_EQ(status, SQLITE_OK) << (db ? sqlite3_errmsg(db) : "no memory");
    return owned;
}

void execute(sqlite3 *db, const char *sql) {
    char *error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << sql << ": " << error;
}

// The one row of the points table: its name and easting.
std::pair<std::string, double> readPoint(sqlite3 *db) {
    sqlite3_stmt *raw = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT name, x FROM points", -1, &raw, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> statement(raw, sqlite3_finalize);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW)
        return {"", 0.0};
    const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(statement.get(), 0));
    return {name ? name : "", sqlite3_column_double(statement.get(), 1)};
}

TEST(GisThirdParty, SqliteWritesInMemoryAndSerializesTheDatabase) {
    EXPECT_NE(sqlite3_threadsafe(), 0) << "the writers may run on a background thread";
    const Database db = openInMemory();
    ASSERT_TRUE(db);
    // A GeoPackage's application id ("GPKG"), an R*Tree as its spatial index has, and a point.
    execute(db.get(), "PRAGMA application_id = 1196444487");
    execute(db.get(), "CREATE VIRTUAL TABLE points_index USING rtree(id, minx, maxx, miny, maxy)");
    execute(db.get(), "CREATE TABLE points (name TEXT NOT NULL, x REAL NOT NULL)");
    execute(db.get(), "INSERT INTO points VALUES ('控制点1', 538123.456)");
    EXPECT_EQ(readPoint(db.get()), std::make_pair(std::string("控制点1"), 538123.456));

    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, void (*)(void *)> image(
        sqlite3_serialize(db.get(), "main", &size, 0), sqlite3_free);
    ASSERT_NE(image, nullptr);
    ASSERT_GE(size, 100) << "a database file starts with a 100-byte header";
    EXPECT_EQ(std::memcmp(image.get(), "SQLite format 3", 16), 0);
    EXPECT_EQ(std::memcmp(image.get() + 68, "GPKG", 4), 0) << "the application id, big-endian";

    // The image is a whole database: another connection reads the row from it.
    const Database copy = openInMemory();
    ASSERT_TRUE(copy);
    auto *buffer =
        static_cast<unsigned char *>(sqlite3_malloc64(static_cast<sqlite3_uint64>(size)));
    ASSERT_NE(buffer, nullptr);
    std::memcpy(buffer, image.get(), static_cast<std::size_t>(size));
    ASSERT_EQ(sqlite3_deserialize(copy.get(), "main", buffer, size, size,
                                  SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY),
              SQLITE_OK);
    EXPECT_EQ(readPoint(copy.get()), std::make_pair(std::string("控制点1"), 538123.456));
}

} // namespace
