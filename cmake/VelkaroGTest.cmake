# GoogleTest for the tests: the installed package for a native build; for a cross build, built
# from Debian's source package with the cross compiler, since the installed libraries are Linux
# ones. Either way the targets are GTest::gtest and GTest::gtest_main.
set(VELKARO_GTEST_DEFAULT_SOURCE "")
if(CMAKE_CROSSCOMPILING AND EXISTS /usr/src/googletest/CMakeLists.txt)
    set(VELKARO_GTEST_DEFAULT_SOURCE /usr/src/googletest)
endif()
set(VELKARO_GTEST_SOURCE_DIR "${VELKARO_GTEST_DEFAULT_SOURCE}" CACHE PATH
    "Build GoogleTest from this source tree instead of using the installed package")

if(VELKARO_GTEST_SOURCE_DIR)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VELKARO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Versions before 1.11 do not define the GTest:: names themselves.
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
else()
    find_package(GTest REQUIRED)
endif()
