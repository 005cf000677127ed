# velkaro_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value...>])
# Adds one test executable, links it and registers it with CTest under its own name.
function(velkaro_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} velkaro_warnings)
    set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "VELKARO_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VELKARO_BIN=${CMAKE_BINARY_DIR}/bin;${ARG_ENV}")
endfunction()
