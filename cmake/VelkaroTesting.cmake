# velkaro_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value...>]
#                  [ALONE] [LOCKS <resources...>])
# velkaro_add_test(NAME <name> COMMAND <command...> [ENV ...] [ALONE] [LOCKS ...])
# Adds one test executable, links it and registers it with CTest under its own name; or, with
# COMMAND, registers a test that runs a script or another program.
#
# scripts/test runs CTest in parallel (ctest -j). A test runs beside the others unless it says:
#   ALONE   it needs the machine to itself: it measures time or races another process of its own
#           against the clock, and a busy machine can make it fail (CTest's RUN_SERIAL);
#   LOCKS   names of things only one test at a time may use, e.g. an X display or loop devices
#           (CTest's RESOURCE_LOCK); tests with different names still run side by side.

# Under the sanitizers every test, and every velkaro-convert it starts, stops at the first
# report with a stack trace; leaks count as failures too.
set(VELKARO_SANITIZER_TEST_ENV "")
if(VELKARO_SANITIZE)
    set(VELKARO_SANITIZER_TEST_ENV
        "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

function(velkaro_add_test)
    cmake_parse_arguments(ARG "ALONE" "NAME" "SOURCES;LIBS;ENV;COMMAND;LOCKS" ${ARGN})
    if(ARG_COMMAND)
        add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
    else()
        add_executable(${ARG_NAME} ${ARG_SOURCES})
        target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} velkaro_warnings)
        set_target_properties(${ARG_NAME} PROPERTIES
            RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
        add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    endif()
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "VELKARO_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VELKARO_BIN=${CMAKE_BINARY_DIR}/bin;${VELKARO_SANITIZER_TEST_ENV};${ARG_ENV}")
    if(ARG_ALONE)
        set_tests_properties(${ARG_NAME} PROPERTIES RUN_SERIAL TRUE)
    endif()
    if(ARG_LOCKS)
        set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
    endif()
endfunction()
