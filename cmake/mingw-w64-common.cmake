# What both Windows toolchains share; each sets intcalc_triple, CMAKE_SYSTEM_PROCESSOR and
# intcalc_default_loader first, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

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

# The Wine loader that runs the programs built here, for test discovery and the golden
# transcripts: -DINTCALC_WINE_LOADER=PATH, or the toolchain's own default.
if(NOT INTCALC_WINE_LOADER)
  find_program(INTCALC_WINE_LOADER ${intcalc_default_loader})
endif()
if(INTCALC_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${INTCALC_WINE_LOADER})
endif()
