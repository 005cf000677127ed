# The Windows installer, build-win/package/velkaro-<version>-win64-setup.exe, made with NSIS
# (makensis) from packaging/windows/Velkaro.nsi.in:
#   cmake --build build-win --target velkaro_installer
# It holds what `cmake --install` puts into the Windows folder (the same programs as the ZIP,
# and the user's manual as manual\ when there is one), stripped. Without makensis there is no such target.

# The programs, in the order the installer copies them; the first is the one the shortcut starts
# and whose icon Apps & features shows. scripts/windows-installer-test reads their file names from
# packaging/windows-programs.txt and expects each in the ZIP and in the installed folder.
set(programs velkaro-convert)
if(TARGET Velkaro)
    list(PREPEND programs Velkaro)
endif()
set(program_names "")
set(program_files "")
foreach(program IN LISTS programs)
    list(APPEND program_names $<TARGET_FILE_NAME:${program}>)
    list(APPEND program_files $<TARGET_FILE:${program}>)
endforeach()
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/packaging/windows-programs.txt
    CONTENT "$<JOIN:${program_names},\n>\n")

find_program(VELKARO_MAKENSIS makensis)
if(NOT VELKARO_MAKENSIS)
    message(STATUS "makensis not found: no Windows installer (target velkaro_installer)")
    return()
endif()

list(GET program_names 0 main_program)
if(TARGET Velkaro)
    set(VELKARO_NSIS_SHORTCUT_TARGET "\"$INSTDIR\\${main_program}\" \"\"")
else()
    # Without the window the shortcut opens a console in which the converter shows its usage.
    set(VELKARO_NSIS_SHORTCUT_TARGET
        "\"$SYSDIR\\cmd.exe\" '/k \"$INSTDIR\\${main_program}\" --help'")
endif()
set(VELKARO_NSIS_MAIN_PROGRAM ${main_program})
set(VELKARO_NSIS_FILES "")
set(VELKARO_NSIS_DELETES "")
foreach(name IN LISTS program_names)
    list(APPEND VELKARO_NSIS_FILES "    File \"\${STAGE}\\${name}\"")
    list(APPEND VELKARO_NSIS_DELETES "    Delete \"$INSTDIR\\${name}\"")
endforeach()
# The manual, when there is one (cmake/VelkaroInstall.cmake), as the folder manual\.
if(VELKARO_MANUAL_FILES)
    list(APPEND VELKARO_NSIS_FILES "    File /r \"\${STAGE}\\manual\"")
    list(APPEND VELKARO_NSIS_DELETES "    RMDir /r \"$INSTDIR\\manual\"")
endif()
list(JOIN VELKARO_NSIS_FILES "\n" VELKARO_NSIS_FILES)
list(JOIN VELKARO_NSIS_DELETES "\n" VELKARO_NSIS_DELETES)
file(TO_NATIVE_PATH ${PROJECT_SOURCE_DIR}/res/Velkaro.ico VELKARO_NSIS_ICON)
list(JOIN VELKARO_VERSION_PARTS "." VELKARO_VERSION_DOTTED)
# configure_file fills in the version and the lists, file(GENERATE) the programs' file names.
set(script ${PROJECT_BINARY_DIR}/packaging/Velkaro.nsi)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/Velkaro.nsi.in ${script}.in @ONLY)
file(GENERATE OUTPUT ${script} INPUT ${script}.in)

set(VELKARO_MANUAL_DEPENDS ${VELKARO_MANUAL_FILES})
list(TRANSFORM VELKARO_MANUAL_DEPENDS REPLACE "^manual/" "${PROJECT_SOURCE_DIR}/docs/manual/")
set(stage ${PROJECT_BINARY_DIR}/installer-stage)
set(setup ${CPACK_PACKAGE_DIRECTORY}/velkaro-${PROJECT_VERSION}-win64-setup.exe)
add_custom_command(OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${stage} --strip
    COMMAND ${VELKARO_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DSTAGE=${stage} -DOUTFILE=${setup} ${script}
    DEPENDS ${programs} ${program_files} ${script} ${PROJECT_SOURCE_DIR}/res/Velkaro.ico
        ${VELKARO_MANUAL_DEPENDS}
    COMMENT "Building the installer velkaro-${PROJECT_VERSION}-win64-setup.exe"
    VERBATIM)
add_custom_target(velkaro_installer DEPENDS ${setup})
