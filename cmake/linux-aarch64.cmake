# Cross-build for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu;
# programs run under qemu-user (qemu-aarch64):
#   cmake -S . -B build-aarch64 --toolchain cmake/linux-aarch64.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(MOVLEX_LINUX_TRIPLET aarch64-linux-gnu)
set(MOVLEX_QEMU_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
