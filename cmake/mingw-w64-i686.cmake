# Cross-compiling for 32-bit Windows with Debian's mingw-w64; programs run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(intcalc_triple i686-w64-mingw32)
# The posix threading model: GoogleTest builds only with it.
set(CMAKE_C_COMPILER ${intcalc_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${intcalc_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${intcalc_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${intcalc_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program linked statically: it needs no DLL beyond the system's own (kernel32,
# msvcrt), and Wine finds none of mingw's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(INTCALC_WINE wine)
if(INTCALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${INTCALC_WINE})
endif()
