# Cross-build for IBM Z (64-bit, big-endian) Linux with Debian's g++-s390x-linux-gnu;
# programs run under qemu-user (qemu-s390x):
#   cmake -S . -B build-s390x --toolchain cmake/linux-s390x.cmake
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(MOVLEX_LINUX_TRIPLET s390x-linux-gnu)
set(MOVLEX_QEMU_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
