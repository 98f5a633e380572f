# Cross-compiling for 64-bit Windows with Debian's mingw-w64, for machines whose kernel runs
# no 32-bit programs; programs run under Debian's 64-bit Wine loader, which is not on PATH.
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(intcalc_triple x86_64-w64-mingw32)
set(intcalc_default_loader /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
