# GeographicLib (the projection of the grids) and SQLite (GeoPackage) for the GIS writers, as
# velkaro::geographiclib and velkaro::sqlite3: Debian's packages on Linux, linked statically so
# that velkaro-convert maps no more libraries at start-up than before and only the code it uses
# comes along.
find_library(VELKARO_GEOGRAPHICLIB NAMES libGeographicLib.a GeographicLib REQUIRED)
find_path(VELKARO_GEOGRAPHICLIB_INCLUDE GeographicLib/TransverseMercator.hpp REQUIRED)
add_library(velkaro::geographiclib UNKNOWN IMPORTED)
set_target_properties(velkaro::geographiclib PROPERTIES IMPORTED_LOCATION ${VELKARO_GEOGRAPHICLIB}
    INTERFACE_INCLUDE_DIRECTORIES ${VELKARO_GEOGRAPHICLIB_INCLUDE})
find_library(VELKARO_SQLITE3 NAMES libsqlite3.a sqlite3 REQUIRED)
find_path(VELKARO_SQLITE3_INCLUDE sqlite3.h REQUIRED)
add_library(velkaro::sqlite3 UNKNOWN IMPORTED)
set_target_properties(velkaro::sqlite3 PROPERTIES IMPORTED_LOCATION ${VELKARO_SQLITE3}
    INTERFACE_INCLUDE_DIRECTORIES ${VELKARO_SQLITE3_INCLUDE}
    INTERFACE_LINK_LIBRARIES "m;${CMAKE_DL_LIBS}")
