# SPDX-License-Identifier: MIT
# Cross build for 32-bit ARM Linux, soft-float ABI (armel: ARMv5TE, no
# floating-point unit, no hardware divide) with Debian's cross compiler and the
# target's libraries in a sysroot of their own (CMAKE_SYSROOT, made by
# tools/sysroot.sh: armel's EGL and Mesa do not install beside the host's
# through multiarch). On this core every floating-point operation
# and every division becomes a call to a run-time helper, which makes it the
# hardest test of the number library's integer-only promise.
#
# A board SDK (Yocto, Buildroot) brings its own toolchain file with its own
# sysroot: use that one instead of this file; nothing else changes.
set(QB_CROSS_TRIPLET arm-linux-gnueabi)
set(QB_CROSS_QEMU qemu-arm)
set(CMAKE_SYSTEM_PROCESSOR arm)
# Debian's armel baseline, spelt out so that the build does not depend on
# the cross compiler's defaults.
set(CMAKE_C_FLAGS_INIT "-march=armv5te -mfloat-abi=soft")
set(CMAKE_CXX_FLAGS_INIT "-march=armv5te -mfloat-abi=soft")
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
