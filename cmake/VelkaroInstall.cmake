# What `cmake --install` puts where: on Windows the programs side by side at the top of the
# folder (the ZIP and the installer, cmake/VelkaroWindowsInstaller.cmake, take them from there); on
# Linux the programs in bin/ and also the desktop entry, its icons, the AppStream description, the
# window's user's manual, the manual pages, the changelog and the copyright notice, the last four
# with the project version filled in. Included at the end of the top-level CMakeLists.txt, after every target is known, so
# that the window's rules apply only when the window is built.
include(GNUInstallDirs)

if(WIN32)
    set(VELKARO_INSTALL_PROGRAM_DIR .)
else()
    set(VELKARO_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS velkaro-convert RUNTIME DESTINATION ${VELKARO_INSTALL_PROGRAM_DIR})
if(TARGET Velkaro)
    install(TARGETS Velkaro RUNTIME DESTINATION ${VELKARO_INSTALL_PROGRAM_DIR})
endif()

# The user's manual, which F1 opens, beside Velkaro.exe as manual\ when the source tree holds one
# at configure time. Its files, relative to the install folder, are listed for
# scripts/windows-installer-test in packaging/windows-manual.txt (empty without a manual).
if(WIN32)
    set(VELKARO_MANUAL_DIR ${PROJECT_SOURCE_DIR}/docs/manual)
    set(VELKARO_MANUAL_FILES "")
    if(TARGET Velkaro AND EXISTS ${VELKARO_MANUAL_DIR}/index.html)
        install(DIRECTORY ${VELKARO_MANUAL_DIR}/ DESTINATION manual)
        file(GLOB_RECURSE VELKARO_MANUAL_FILES RELATIVE ${VELKARO_MANUAL_DIR}
            ${VELKARO_MANUAL_DIR}/*)
        list(SORT VELKARO_MANUAL_FILES)
        list(TRANSFORM VELKARO_MANUAL_FILES PREPEND "manual/")
    endif()
    set(manual_list "")
    foreach(file IN LISTS VELKARO_MANUAL_FILES)
        string(APPEND manual_list "${file}\n")
    endforeach()
    file(WRITE ${PROJECT_BINARY_DIR}/packaging/windows-manual.txt "${manual_list}")
endif()

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()

set(VELKARO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# The package files that carry the version, as installed; scripts/package-test checks them here.
set(VELKARO_CONFIGURED_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
foreach(name IN ITEMS changelog com.velkaro.Velkaro.metainfo.xml copyright Velkaro.1
        velkaro-convert.1)
    velkaro_configure_versioned(${VELKARO_PACKAGING_DIR}/${name}.in
        ${VELKARO_CONFIGURED_PACKAGING_DIR}/${name})
endforeach()

if(TARGET Velkaro)
    install(FILES ${VELKARO_PACKAGING_DIR}/velkaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VELKARO_CONFIGURED_PACKAGING_DIR}/com.velkaro.Velkaro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The window's own icon pictures, under the name the desktop entry asks for.
    foreach(size IN ITEMS 16 32)
        set(icon ${PROJECT_SOURCE_DIR}/res/icon-${size}.png)
        if(EXISTS ${icon})
            install(FILES ${icon} RENAME velkaro.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
        endif()
    endforeach()
    # The user's manual that F1 opens, with its pictures; the window looks for it here relative
    # to its own folder (dialog/application_paths.h).
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaro/manual)
endif()

# Manual pages and the changelog are installed compressed, as Debian expects them; -n keeps the
# time stamp out of the .gz, so the same text gives the same bytes.
find_program(VELKARO_GZIP gzip REQUIRED)
add_custom_target(velkaro_compressed_docs ALL)
function(velkaro_install_compressed source destination)
    get_filename_component(name ${source} NAME)
    set(copy ${CMAKE_BINARY_DIR}/compressed/${name})
    configure_file(${source} ${copy} COPYONLY)
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${VELKARO_GZIP} -9 -n -k -f ${copy}
        DEPENDS ${copy}
        COMMENT "Compressing ${name}"
        VERBATIM)
    target_sources(velkaro_compressed_docs PRIVATE ${copy}.gz)
    install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

velkaro_install_compressed(${VELKARO_CONFIGURED_PACKAGING_DIR}/velkaro-convert.1
    ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET Velkaro)
    velkaro_install_compressed(${VELKARO_CONFIGURED_PACKAGING_DIR}/Velkaro.1
        ${CMAKE_INSTALL_MANDIR}/man1)
endif()
velkaro_install_compressed(${VELKARO_CONFIGURED_PACKAGING_DIR}/changelog
    ${CMAKE_INSTALL_DATADIR}/doc/velkaro)
install(FILES ${VELKARO_CONFIGURED_PACKAGING_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaro)
