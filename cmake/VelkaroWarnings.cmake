# One interface target that carries the project's warning flags; every target of ours links it.
add_library(velkaro_warnings INTERFACE)
if(MSVC)
    target_compile_options(velkaro_warnings INTERFACE /W4 /utf-8 $<$<BOOL:${VELKARO_WERROR}>:/WX>)
else()
    target_compile_options(velkaro_warnings INTERFACE
        -Wall -Wextra -Wconversion -Wsign-conversion
        # GCC 12 reports std::string concatenation as overlapping copies (GCC bug 105329).
        $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
        $<$<BOOL:${VELKARO_WERROR}>:-Werror>)
endif()
