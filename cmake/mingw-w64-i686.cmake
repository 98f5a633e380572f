# Cross-compiling for 32-bit Windows with Debian's mingw-w64; programs run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(intcalc_triple i686-w64-mingw32)
set(intcalc_default_loader wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
