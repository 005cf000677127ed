# VELKARO_SANITIZE: every target of ours (core, converter, tests, fuzzer) is compiled and linked
# with AddressSanitizer and UndefinedBehaviorSanitizer. Any report aborts the process, so a test
# that runs into one fails instead of printing a warning that nobody reads.
if(VELKARO_SANITIZE)
    if(MSVC)
        add_compile_options(/fsanitize=address)
    else()
        set(VELKARO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
        add_compile_options(${VELKARO_SANITIZER_FLAGS} -fno-omit-frame-pointer -g)
        add_link_options(${VELKARO_SANITIZER_FLAGS})
    endif()
endif()

# VELKARO_FUZZ: the fuzz target in tests/fuzz, which links libFuzzer's main; the code it fuzzes
# (the core) gets libFuzzer's coverage instrumentation there. Only the core: the tests and
# programs of the same build stay as VELKARO_SANITIZE alone makes them, so one sanitizer build
# serves both (scripts/test and scripts/fuzz share build-asan/). Normally used together with
# VELKARO_SANITIZE.
if(VELKARO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VELKARO_FUZZ needs clang (libFuzzer): configure with CXX=clang++")
    endif()
endif()
