# Cross-build for 64-bit RISC-V Linux with Debian's g++-riscv64-linux-gnu;
# programs run under qemu-user (qemu-riscv64):
#   cmake -S . -B build-riscv64 --toolchain cmake/linux-riscv64.cmake
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(MOVLEX_LINUX_TRIPLET riscv64-linux-gnu)
set(MOVLEX_QEMU_ARCH riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
