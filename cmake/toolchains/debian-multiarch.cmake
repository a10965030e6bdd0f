# Common part of the Debian multiarch cross toolchain files. The including
# file sets QB_CROSS_TRIPLET (the GNU triplet, which is also the multiarch
# folder name) and QB_CROSS_QEMU (the user-mode emulator of the target).
#
# There is no separate sysroot: the target's headers and libraries live in the
# host's own tree, under /usr/lib/<triplet> and /usr/include (shared headers),
# exactly where Debian's libfoo-dev:<arch> packages put them.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${QB_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QB_CROSS_TRIPLET}-g++)

# Makes find_library / find_package look in lib/<triplet> (and never in the
# host's lib/x86_64-linux-gnu), which is where the target's libraries and
# CMake package files (GTest) are.
set(CMAKE_LIBRARY_ARCHITECTURE ${QB_CROSS_TRIPLET})

# pkg-config must read the target's .pc files only. PKG_CONFIG_LIBDIR replaces
# the default search path (which would find the host's egl.pc); the sysroot
# stays empty because the .pc files already carry the multiarch paths.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${QB_CROSS_TRIPLET}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(ENV{PKG_CONFIG_PATH} "")

# Tools (pkg-config, the emulator, scripts) are host programs.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Test programs run under the user-mode emulator: add_test and
# gtest_discover_tests prefix their command with it. The target's dynamic
# loader comes from the multiarch libc6:<arch> package (/lib/ld-linux-*.so.*),
# so no QEMU_LD_PREFIX / -L is given: with -L pointing at the cross
# compiler's folder, Mesa's drivers spin forever under the emulator.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(QB_CROSS_QEMU_PATH ${QB_CROSS_QEMU})
  if(QB_CROSS_QEMU_PATH)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QB_CROSS_QEMU_PATH})
  endif()
endif()
