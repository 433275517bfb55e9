# Cross-build for 64-bit Windows with Debian's MinGW-w64 compilers (g++-mingw-w64-x86-64):
#   cmake -S . -B build-win64 --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MOVLEX_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
