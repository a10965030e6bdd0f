# SPDX-License-Identifier: MIT
# Cross build for 64-bit ARM Linux (arm64) with Debian's cross compiler and
# the target's libraries installed beside the host's through multiarch
# (dpkg --add-architecture arm64; see tools/cross-deps.sh).
#
# A board SDK (Yocto, Buildroot) brings its own toolchain file with its own
# sysroot: use that one instead of this file; nothing else changes.
set(QB_CROSS_TRIPLET aarch64-linux-gnu)
set(QB_CROSS_QEMU qemu-aarch64)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
