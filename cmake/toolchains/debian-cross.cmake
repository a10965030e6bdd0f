# SPDX-License-Identifier: MIT
# Common part of the Debian cross toolchain files. The including file sets
# QB_CROSS_TRIPLET (the GNU triplet, which is also the multiarch folder name)
# and QB_CROSS_QEMU (the user-mode emulator of the target).
#
# The target's headers and libraries are where Debian's libfoo-dev:<arch>
# packages put them, /usr/lib/<triplet> and /usr/include: either in the host's
# own tree (multiarch, no CMAKE_SYSROOT) or in a sysroot of the target's own
# given as CMAKE_SYSROOT (tools/sysroot.sh makes one), as a board SDK does.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${QB_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QB_CROSS_TRIPLET}-g++)

# Makes find_library / find_package look in lib/<triplet> (and never in the
# host's lib/x86_64-linux-gnu), which is where the target's libraries and
# CMake package files (GTest) are.
set(CMAKE_LIBRARY_ARCHITECTURE ${QB_CROSS_TRIPLET})

if(CMAKE_SYSROOT)
  if(NOT EXISTS "${CMAKE_SYSROOT}/usr/lib/${QB_CROSS_TRIPLET}")
    message(FATAL_ERROR "No ${QB_CROSS_TRIPLET} sysroot at ${CMAKE_SYSROOT}: tools/cross-deps.sh makes it")
  endif()
  # Libraries, headers and packages from the sysroot only, never the host's.
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endif()

# pkg-config must read the target's .pc files only. PKG_CONFIG_LIBDIR replaces
# the default search path (which would find the host's egl.pc); the paths in
# the .pc files are the target's, under the sysroot where there is one.
set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_SYSROOT}/usr/lib/${QB_CROSS_TRIPLET}/pkgconfig:${CMAKE_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${CMAKE_SYSROOT}")
set(ENV{PKG_CONFIG_PATH} "")

# Tools (pkg-config, the emulator, scripts) are host programs.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Test programs run under the user-mode emulator: add_test and
# gtest_discover_tests prefix their command with it. With multiarch the
# target's dynamic loader is at its usual path (/lib/ld-linux-*.so.*, from
# libc6:<arch>), so no -L is given: with -L pointing at the cross compiler's
# folder, Mesa's drivers spin forever under the emulator. With a sysroot the
# preset gives the emulator as "qemu-...;-L;<sysroot>".
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(QB_CROSS_QEMU_PATH ${QB_CROSS_QEMU})
  if(QB_CROSS_QEMU_PATH)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QB_CROSS_QEMU_PATH})
  endif()
endif()
