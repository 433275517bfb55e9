# Shared part of the Linux cross toolchain files: set CMAKE_SYSTEM_PROCESSOR
# and MOVLEX_LINUX_TRIPLET (Debian's name for the target, e.g.
# aarch64-linux-gnu), then include this. The compilers are Debian's
# g++-<triplet> packages; programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${MOVLEX_LINUX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MOVLEX_LINUX_TRIPLET}-g++)

# Libraries and packages come from the target's tree only, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${MOVLEX_LINUX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under qemu-user (Debian's qemu-user) where it is
# installed, with the target's dynamic loader and libraries from its tree.
find_program(MOVLEX_QEMU NAMES qemu-${MOVLEX_QEMU_ARCH} qemu-${MOVLEX_QEMU_ARCH}-static)
if(MOVLEX_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MOVLEX_QEMU} -L /usr/${MOVLEX_LINUX_TRIPLET})
endif()
