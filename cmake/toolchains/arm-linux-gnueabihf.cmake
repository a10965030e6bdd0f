# SPDX-License-Identifier: MIT
# Cross build for 32-bit ARM Linux, hard-float ABI (armhf: ARMv7-A, Thumb-2,
# VFPv3-D16) with Debian's cross compiler and the target's libraries installed
# beside the host's through multiarch (dpkg --add-architecture armhf; see
# tools/cross-deps.sh).
#
# A board SDK (Yocto, Buildroot) brings its own toolchain file with its own
# sysroot: use that one instead of this file; nothing else changes.
set(QB_CROSS_TRIPLET arm-linux-gnueabihf)
set(QB_CROSS_QEMU qemu-arm)
set(CMAKE_SYSTEM_PROCESSOR arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
