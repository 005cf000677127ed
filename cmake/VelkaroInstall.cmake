# What `cmake --install` puts where: the programs in bin/; on Linux also the desktop entry, its
# icons, the AppStream description, the manual page of velkaro-convert and the copyright notice.
# Included at the end of the top-level CMakeLists.txt, after every target is known, so that the
# window's rules apply only when the window is built.
include(GNUInstallDirs)

install(TARGETS velkaro-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET Velkaro)
    install(TARGETS Velkaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()

set(VELKARO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

if(TARGET Velkaro)
    install(FILES ${VELKARO_PACKAGING_DIR}/velkaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VELKARO_PACKAGING_DIR}/com.velkaro.Velkaro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The window's own icon pictures, under the name the desktop entry asks for.
    foreach(size IN ITEMS 16 32)
        set(icon ${PROJECT_SOURCE_DIR}/res/icon-${size}.png)
        if(EXISTS ${icon})
            install(FILES ${icon} RENAME velkaro.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
        endif()
    endforeach()
endif()

# Manual pages are installed compressed, as Debian's man expects them. -n keeps the time stamp
# out, so the same page gives the same bytes.
find_program(VELKARO_GZIP gzip REQUIRED)
set(VELKARO_MAN_PAGE ${CMAKE_BINARY_DIR}/man/velkaro-convert.1)
configure_file(${VELKARO_PACKAGING_DIR}/velkaro-convert.1 ${VELKARO_MAN_PAGE} COPYONLY)
add_custom_command(OUTPUT ${VELKARO_MAN_PAGE}.gz
    COMMAND ${VELKARO_GZIP} -9 -n -k -f ${VELKARO_MAN_PAGE}
    DEPENDS ${VELKARO_MAN_PAGE}
    COMMENT "Compressing the manual page of velkaro-convert"
    VERBATIM)
add_custom_target(velkaro_man_page ALL DEPENDS ${VELKARO_MAN_PAGE}.gz)
install(FILES ${VELKARO_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${VELKARO_PACKAGING_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaro)
