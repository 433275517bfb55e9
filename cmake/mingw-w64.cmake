# Shared part of the MinGW-w64 toolchain files: set CMAKE_SYSTEM_PROCESSOR and
# MOVLEX_MINGW_TRIPLET, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The posix flavour: its C++ runtime has std::thread (winpthreads, linked in
# statically like the rest of the runtime).
set(CMAKE_C_COMPILER ${MOVLEX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOVLEX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MOVLEX_MINGW_TRIPLET}-windres)

# Libraries and packages come from the target's tree only, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${MOVLEX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine where it is installed.
find_program(MOVLEX_WINE NAMES wine)
if(MOVLEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MOVLEX_WINE})
endif()
