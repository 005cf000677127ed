# The one version number, the project's (VERSION in the top-level CMakeLists.txt), turned into
# everything that shows it: a header for the programs and the tests, the Windows version resource
# and the package files. Nothing else spells the number out.
#
#   velkaro_version        INTERFACE target: links in the include folder of the generated files
#   velkaro_version.h      VELKARO_VERSION, the dotted version
#   version.rc             VS_VERSION_INFO; a resource script #includes it (see res/Velkaro.rc)
#   velkaro_configure_versioned(<source> <output>)   a package file with @PROJECT_VERSION@ filled in
set(VELKARO_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)

# A version resource holds four numbers; missing parts of a shorter version are 0.
set(VELKARO_VERSION_PARTS)
foreach(part IN ITEMS MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND VELKARO_VERSION_PARTS 0)
    else()
        list(APPEND VELKARO_VERSION_PARTS ${PROJECT_VERSION_${part}})
    endif()
endforeach()
list(JOIN VELKARO_VERSION_PARTS "," VELKARO_VERSION_COMMAS)
list(JOIN VELKARO_VERSION_PARTS ", " VELKARO_VERSION_RESOURCE_TEXT)

configure_file(${PROJECT_SOURCE_DIR}/cmake/velkaro_version.h.in
    ${VELKARO_GENERATED_DIR}/velkaro_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/version.rc.in ${VELKARO_GENERATED_DIR}/version.rc @ONLY)

add_library(velkaro_version INTERFACE)
target_include_directories(velkaro_version INTERFACE ${VELKARO_GENERATED_DIR})

function(velkaro_configure_versioned source output)
    configure_file(${source} ${output} @ONLY)
endfunction()
