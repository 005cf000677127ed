# CPack: a Debian package on Linux (velkaro_<version>_amd64.deb), a ZIP of the programs for
# Windows (the Windows installer: cmake/VelkaroWindowsInstaller.cmake). `scripts/package` builds
# the Debian one: cd build && cpack.
set(CPACK_PACKAGE_NAME velkaro)
set(CPACK_PACKAGE_VENDOR Velkaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "RTK point file converter to CASS 6.0, Kaisi and DXF coordinate files")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
# Directories in the package are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(VELKARO_PACKAGE_MAINTAINER "Velkaro <dev@velkaro.com>" CACHE STRING
    "Maintainer field of the Debian package")

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELKARO_PACKAGE_MAINTAINER})
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The library dependencies come from the binaries themselves (dpkg-shlibdeps).
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these lines and marks
    # the empty one.
    if(TARGET Velkaro)
        set(VELKARO_PACKAGE_HOLDS "the window RTK格式转换工具 (Velkaro) and velkaro-convert, the\n"
            "command-line converter for batch work.")
    else()
        set(VELKARO_PACKAGE_HOLDS "velkaro-convert, the command-line converter.")
    endif()
    string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Velkaro turns the point file that RTK satellite survey equipment exports (a\n"
        "comma- or tab-separated text file, one surveyed point per line) into a CASS 6.0\n"
        "coordinate data file (.dat), a Kaisi coordinate text file (.txt) or a DXF\n"
        "drawing of POINT entities (.dxf), byte for byte as the established Windows tool\n"
        "wrote them.\n"
        "\n"
        "The package holds " ${VELKARO_PACKAGE_HOLDS})
    if(TARGET Velkaro)
        # Loaded at run time, so dpkg-shlibdeps cannot see them: the platform plugins, without
        # which the window cannot open, and a Song face for its Chinese texts.
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
        set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming | fonts-noto-cjk")
    endif()
endif()

include(CPack)
