# GeographicLib and SQLite for the GIS writers, as the targets velkaro::geographiclib and
# velkaro::sqlite3, the same on every platform.
#
# A native build takes the installed ones: on Linux Debian's libgeographiclib-dev and
# libsqlite3-dev (scripts/deps). A cross build (MinGW-w64) cannot use those Linux libraries: it
# builds both as static libraries with the cross compiler from Debian's source packages, which
# `apt-get source` fetches from Debian's archive into <build>/third-party/ at the first configure
# (scripts/deps windows adds the archive's deb-src entry, dpkg-dev and tclsh). Nothing of theirs
# is kept in this repository.
# Once unpacked, a source tree is kept; delete <build>/third-party/ to take a newer one.

if(NOT CMAKE_CROSSCOMPILING)
    # GeographicLib's own CMake package where there is one (a package manager's, for a native
    # Windows build); Debian ships none, only the library and its headers, which are found
    # directly (named Geographic before GeographicLib 2).
    find_package(GeographicLib CONFIG QUIET)
    add_library(velkaro::geographiclib INTERFACE IMPORTED)
    if(TARGET GeographicLib::GeographicLib)
        target_link_libraries(velkaro::geographiclib INTERFACE GeographicLib::GeographicLib)
    else()
        find_library(VELKARO_GEOGRAPHICLIB_LIBRARY NAMES GeographicLib Geographic)
        find_path(VELKARO_GEOGRAPHICLIB_INCLUDE_DIR GeographicLib/TransverseMercator.hpp)
        if(NOT VELKARO_GEOGRAPHICLIB_LIBRARY OR NOT VELKARO_GEOGRAPHICLIB_INCLUDE_DIR)
            message(FATAL_ERROR
                "GeographicLib not found: scripts/deps build installs libgeographiclib-dev")
        endif()
        target_link_libraries(velkaro::geographiclib INTERFACE ${VELKARO_GEOGRAPHICLIB_LIBRARY})
        target_include_directories(velkaro::geographiclib INTERFACE
            ${VELKARO_GEOGRAPHICLIB_INCLUDE_DIR})
    endif()

    find_package(SQLite3 REQUIRED)
    add_library(velkaro::sqlite3 INTERFACE IMPORTED)
    target_link_libraries(velkaro::sqlite3 INTERFACE SQLite::SQLite3)
    return()
endif()

set(VELKARO_THIRD_PARTY_DIR ${CMAKE_BINARY_DIR}/third-party)

# velkaro_debian_source(<package> <variable>): unpacks Debian's source package <package> (with
# Debian's patches applied) once, and sets <variable> to its tree. The stamp, written last, names
# the tree; an interrupted fetch leaves none and is done again.
function(velkaro_debian_source package variable)
    set(folder ${VELKARO_THIRD_PARTY_DIR}/source/${package})
    set(stamp ${folder}/unpacked)
    if(NOT EXISTS ${stamp})
        message(STATUS "Fetching Debian's source package ${package}")
        file(REMOVE_RECURSE ${folder})
        file(MAKE_DIRECTORY ${folder})
        execute_process(COMMAND apt-get source -qq ${package}
            WORKING_DIRECTORY ${folder} RESULT_VARIABLE status
            OUTPUT_FILE ${folder}/apt-get.log ERROR_FILE ${folder}/apt-get.log)
        file(GLOB trees LIST_DIRECTORIES true ${folder}/${package}-*)
        list(LENGTH trees count)
        if(NOT status EQUAL 0 OR NOT count EQUAL 1)
            file(READ ${folder}/apt-get.log log)
            message(FATAL_ERROR "apt-get source ${package} failed (scripts/deps windows adds "
                "Debian's source archive and dpkg-dev; after a new Debian revision, apt-get "
                "update):\n${log}")
        endif()
        file(WRITE ${stamp} ${trees})
    endif()
    file(READ ${stamp} tree)
    set(${variable} ${tree} PARENT_SCOPE)
endfunction()

# GeographicLib: its library sources, compiled here; the static library lends an executable only
# the objects it uses. Config.h is made from the package's own template, as its build would.
velkaro_debian_source(geographiclib VELKARO_GEOGRAPHICLIB_SOURCE)
function(velkaro_geographiclib_config source output)
    file(STRINGS ${source}/CMakeLists.txt parts
        REGEX "^set \\(PROJECT_VERSION_(MAJOR|MINOR|PATCH) ")
    foreach(part MAJOR MINOR PATCH)
        string(REGEX REPLACE ".*PROJECT_VERSION_${part} ([0-9]+).*" "\\1" PROJECT_VERSION_${part}
            "${parts}")
    endforeach()
    set(PROJECT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
    set(GEOGRAPHICLIB_DATA "C:/ProgramData/GeographicLib")
    set(GEOGRAPHICLIB_HAVE_LONG_DOUBLE TRUE)
    set(GEOGRAPHICLIB_WORDS_BIGENDIAN FALSE)
    set(GEOGRAPHICLIB_PRECISION 2) # double
    set(GEOGRAPHICLIB_LIB_TYPE_VAL 0) # static
    configure_file(${source}/include/GeographicLib/Config.h.in ${output} @ONLY)
endfunction()
set(VELKARO_GEOGRAPHICLIB_GENERATED ${VELKARO_THIRD_PARTY_DIR}/geographiclib/include)
velkaro_geographiclib_config(${VELKARO_GEOGRAPHICLIB_SOURCE}
    ${VELKARO_GEOGRAPHICLIB_GENERATED}/GeographicLib/Config.h)
file(GLOB VELKARO_GEOGRAPHICLIB_SOURCES ${VELKARO_GEOGRAPHICLIB_SOURCE}/src/*.cpp)
add_library(velkaro_geographiclib STATIC ${VELKARO_GEOGRAPHICLIB_SOURCES})
target_include_directories(velkaro_geographiclib SYSTEM PUBLIC ${VELKARO_GEOGRAPHICLIB_GENERATED}
    ${VELKARO_GEOGRAPHICLIB_SOURCE}/include)
# Its own code is not held to this project's warnings (C++20 deprecates some of its enum
# arithmetic); the headers are SYSTEM for the same reason in the code that includes them.
target_compile_options(velkaro_geographiclib PRIVATE -w)
add_library(velkaro::geographiclib ALIAS velkaro_geographiclib)

# SQLite: Debian's source package holds SQLite's source tree, not the single-file amalgamation.
# Its own build makes sqlite3.c (with tclsh and the build machine's C compiler, the file being the
# same for every platform); the cross compiler then compiles that one file.
velkaro_debian_source(sqlite3 VELKARO_SQLITE_SOURCE)
set(VELKARO_SQLITE_AMALGAMATION ${VELKARO_THIRD_PARTY_DIR}/sqlite3)
if(NOT EXISTS ${VELKARO_SQLITE_AMALGAMATION}/made)
    message(STATUS "Making sqlite3.c from ${VELKARO_SQLITE_SOURCE}")
    file(REMOVE_RECURSE ${VELKARO_SQLITE_AMALGAMATION})
    file(MAKE_DIRECTORY ${VELKARO_SQLITE_AMALGAMATION})
    # The build machine's compiler, whatever CC says: lemon and the keyword table's generator run
    # here. The log stays beside the result.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env CC=cc --unset=CFLAGS
            sh -c "'${VELKARO_SQLITE_SOURCE}/configure' --disable-tcl --disable-readline &&
                make sqlite3.c"
        WORKING_DIRECTORY ${VELKARO_SQLITE_AMALGAMATION} RESULT_VARIABLE status
        OUTPUT_FILE ${VELKARO_SQLITE_AMALGAMATION}/make.log
        ERROR_FILE ${VELKARO_SQLITE_AMALGAMATION}/make.log)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Making sqlite3.c failed (scripts/deps windows installs tcl); see "
            "${VELKARO_SQLITE_AMALGAMATION}/make.log")
    endif()
    file(TOUCH ${VELKARO_SQLITE_AMALGAMATION}/made)
endif()
enable_language(C)
add_library(velkaro_sqlite3 STATIC ${VELKARO_SQLITE_AMALGAMATION}/sqlite3.c)
target_include_directories(velkaro_sqlite3 SYSTEM PUBLIC ${VELKARO_SQLITE_AMALGAMATION})
# As Debian builds its library where it matters to SQL and to the writers: serialized threading
# (the writers may run on a background thread), R*Tree (GeoPackage's spatial index), the same
# limit on bound parameters. Extensions are never loaded from files.
target_compile_definitions(velkaro_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_ENABLE_RTREE=1
    SQLITE_MAX_VARIABLE_NUMBER=250000 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_MEMSTATUS=0)
target_compile_options(velkaro_sqlite3 PRIVATE -w)
add_library(velkaro::sqlite3 ALIAS velkaro_sqlite3)
