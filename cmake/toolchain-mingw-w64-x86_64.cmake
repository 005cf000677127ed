# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-win -G Ninja --toolchain cmake/toolchain-mingw-w64-x86_64.cmake
# The posix thread model is the one whose libstdc++ has std::thread and a complete
# std::filesystem; the win32 model is taken only when posix is not installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELKARO_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VELKARO_MINGW_TRIPLE}-gcc-posix ${VELKARO_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VELKARO_MINGW_TRIPLE}-g++-posix ${VELKARO_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VELKARO_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VELKARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ runtime and the thread library are linked in, so the program
# runs on a Windows machine that has no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# With wine installed, CTest runs the Windows test programs under it.
find_program(VELKARO_WINE NAMES wine wine64)
if(VELKARO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELKARO_WINE})
endif()
