# GeographicLib (the projection of the grids) and SQLite (GeoPackage) for the GIS writers, as
# velkaro::geographiclib and velkaro::sqlite3: Debian's packages on Linux.
find_library(VELKARO_GEOGRAPHICLIB GeographicLib REQUIRED)
find_path(VELKARO_GEOGRAPHICLIB_INCLUDE GeographicLib/TransverseMercator.hpp REQUIRED)
add_library(velkaro::geographiclib UNKNOWN IMPORTED)
set_target_properties(velkaro::geographiclib PROPERTIES IMPORTED_LOCATION ${VELKARO_GEOGRAPHICLIB}
    INTERFACE_INCLUDE_DIRECTORIES ${VELKARO_GEOGRAPHICLIB_INCLUDE})
find_package(SQLite3 REQUIRED)
add_library(velkaro::sqlite3 ALIAS SQLite::SQLite3)
