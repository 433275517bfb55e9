# Cross-build for 32-bit Windows with Debian's MinGW-w64 compilers (g++-mingw-w64-i686):
#   cmake -S . -B build-win32 --toolchain cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MOVLEX_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
